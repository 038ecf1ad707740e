#include "client/windows/main/message_records.h"

#include "uitoolkit/core/control.h"

RankResult::~RankResult() {
    for (UiToolkit::CControlUI* row : rows) delete row;
}

void FreeMessageRecord(MessageRecord kind, WPARAM wParam, LPARAM lParam) {
    switch (kind) {
    case MessageRecord::kNone:
        break;
    case MessageRecord::kRankResult:
        delete reinterpret_cast<RankResult*>(wParam);
        break;
    case MessageRecord::kDownloadProgressRecord:
        delete reinterpret_cast<DownloadProgressRecord*>(wParam);
        break;
    case MessageRecord::kIconPath:
        delete reinterpret_cast<std::wstring*>(wParam);
        break;
    case MessageRecord::kNewRow:
        delete reinterpret_cast<UiToolkit::CControlUI*>(wParam);
        break;
    case MessageRecord::kSchemeInfoList:
        delete reinterpret_cast<SchemeInfoList*>(lParam);
        break;
    case MessageRecord::kSchemeSofts:
        delete reinterpret_cast<SchemeSofts*>(lParam);
        break;
    case MessageRecord::kUpdateCheckResult:
        delete reinterpret_cast<UpdateCheckResult*>(lParam);
        break;
    }
}
