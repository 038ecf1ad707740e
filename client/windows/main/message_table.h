#pragma once
// What the main window's dispatcher does with each of its private messages
// (client/windows/main_frame_messages.h): a table, so the dispatcher, its
// tests and the posters read one description.
#include <windows.h>

#include "client/windows/main/live_targets.h"
#include "client/windows/main/message_records.h"

enum class MessageAction {
    kDirect,     // Notify of the registered object in lParam, on the spot
    kBroadcast,  // queued through the main manager: reaches the shown page
    kOwn,        // the main window acts itself
};

struct MessageRow {
    UINT number;
    const char* name;                // the constant's name, for log lines
    MessageAction action;
    const wchar_t* notification;     // direct and broadcast names; own rows that
                                     // broadcast after acting name it too
    bool has_target;                 // lParam names an object of class `target`
    TargetClass target;
    MessageRecord record;            // what the message carries on the heap
    bool stamped;                    // direct record carries GetTickCount()
    bool sets_handled;               // broadcasts that mark the message handled
};

// The row of a message number; none outside the dispatcher's range and for
// the reserved numbers inside it.
const MessageRow* FindMessageRow(UINT number);

// Every row, in number order.
const MessageRow* MessageRows(size_t* count);
