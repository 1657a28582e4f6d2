#pragma once

#include <QString>

class TMainF;

// A seam for tests that run the real program: when the environment variable
// KORVELLE_TEST_TYPE is set, its text is typed at the end of the first page the window
// shows, as a user would type it, and the application log gets the line
// "KvTestTyping::Type end". Nothing happens without the variable.
namespace KvTestTyping {

inline constexpr char Variable[] = "KORVELLE_TEST_TYPE";

// Starts waiting for the first shown page when the variable is set.
void StartIfAsked(TMainF& window);

} // namespace KvTestTyping
