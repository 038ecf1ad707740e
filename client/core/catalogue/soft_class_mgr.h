#pragma once
#include <stdint.h>
#include <map>
#include <string>
#include "foundation/ke/critical_section.h"

// One catalogue category. A pclass_id of -1 marks a top-level category.
struct SoftClassInfo {
    std::wstring class_name;
    int32_t class_id = 0;
    int32_t pclass_id = 0;
    int32_t rank = 0;
};

typedef std::map<int32_t, SoftClassInfo> SoftClassMap;

// The category tree, loaded from the catalogue host once and kept for the
// run; categories are only added or replaced.
//
// Loads run one after another under a lock of their own, held across the
// network request; the tree itself has a separate lock that is never held
// across the network, so readers (the UI thread) never wait for a slow host.
class SoftClassMgr {
public:
    static SoftClassMgr& Instance();

    // Makes sure the tree is loaded; `refresh` loads it again. False when the
    // answer could not be fetched or was not a JSON array (the tree is then
    // unchanged).
    bool Load(bool refresh);

    // The first top-level category, in ascending id order, whose name equals
    // `title` without regard to case.
    bool FindTopClass(const std::wstring& title, SoftClassInfo* found);
    // A copy of one top-level category's sub-categories.
    SoftClassMap SubClasses(int32_t parent_id);
    bool HasSubClasses();
    SoftClassMap TopClasses();
    int32_t TopClassId();

    // Parses a "/class" answer into `classes` (keyed by class_id, a later
    // element replacing an earlier one). False when it is not a JSON array.
    static bool Parse(const std::string& body, SoftClassMap* classes);

    // Test seam: an empty tree.
    void ClearForTest();

private:
    SoftClassMgr() = default;
    void MergeLoaded(SoftClassMap work);

    ke::critical_section load_lock_;
    ke::critical_section data_lock_;
    int32_t top_class_id_ = 0;
    SoftClassMap top_;
    std::map<int32_t, SoftClassMap> subs_;
};
