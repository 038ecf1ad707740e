#pragma once
// The signed-in user's favourites on the user service, the process-wide
// collected flags, and the rows that follow them.
#include <stdint.h>
#include <string>
#include <vector>

class Collect {
public:
    class Observer {
    public:
        virtual void OnCollected() = 0;
        virtual void OnUncollected() = 0;

    protected:
        ~Observer() = default;
    };
    enum Which { kCollected = 0, kUncollected = 1 };

    // The favourites registry (from any thread).
    static void Register(int32_t soft_id, Observer* observer);
    static void Unregister(int32_t soft_id, Observer* observer);
    // Tells the id's observers, under the registry lock. Returns true.
    static bool Notify(int32_t soft_id, int which);

    // Requests, on worker threads; false on a failed request, a refused
    // answer or (for the list) no favourite at all.
    static bool FetchCollectList(std::vector<int32_t>* soft_ids);
    static bool AddSoft(int32_t soft_id);
    static bool RemoveSoft(int32_t soft_id);
    // At logout: every flag cleared; every registered id told it is no
    // longer a favourite.
    static void ClearAll();

    // Soft ids of 1 or more from the answer's "list"; false when none.
    static bool ParseCollectList(const std::string& body, std::vector<int32_t>* soft_ids);
    // The answer is JSON and its "error" is "noerror".
    static bool ParseStatus(const std::string& body);
};

// Rows also register here; nothing notifies it (the name is the system's).
class InstallObserable {
public:
    class Observer {
    public:
        virtual void OnInstalled() = 0;

    protected:
        ~Observer() = default;
    };
    static void Register(int32_t soft_id, Observer* observer);
    static void Unregister(int32_t soft_id, Observer* observer);
};
