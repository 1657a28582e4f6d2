#pragma once

#include <functional>

// Opens the program's help at a topic (a help context number). Dialogs call it for F1;
// the help viewer installs itself as the handler. Without a handler nothing opens.
class KvHelpHook
{
public:
    using Handler = std::function<void(int topic)>;

    static void ShowTopic(int topic);
    // Installs the handler; an empty one switches help off.
    static void SetHandler(Handler handler);
    // The topic asked for last (0 before any), also without a handler.
    static int LastTopic();
};
