#pragma once

// Runs the program: the start sequence, the event loop, and the end.
int KvRunProgram(int argc, char** argv);
