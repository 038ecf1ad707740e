#include "client/windows/pages/page_receiver.h"

const wchar_t kPageReceiverInterface[] = L"PageNotifyReceiver";
