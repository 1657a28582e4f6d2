#pragma once

// One command of the main window as written in its definition: caption and hint are
// text references ("#1001"), resolved when the window is created. An empty caption
// takes the short part of the resolved hint.
struct KvActionSpec
{
    const char* name;
    const char* caption;
    const char* hint = "";
    const char* shortcut = ""; // portable key text, e.g. "Ctrl+N"; several: "Ctrl+Y; Ctrl+Shift+Z"
    const char* image = "";    // menu image name, e.g. "NEWPAGE"
    bool checkable = false;
    bool available = false; // its feature exists: enabled by EnableCommands
};
