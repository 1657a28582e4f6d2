#pragma once

// What the command states depend on, gathered by the main window before each
// recomputation of the enabled commands.
struct KvCommandContext
{
    bool hasCurrentFolder = false;
    bool hasCurrentPage = false;
    bool pageLoaded = false;
    bool writable = false;
    bool searchRunning = false;
    bool progressOpen = false;
};
