#pragma once

// The locale of dates, times and numbers shown: the user's, or German where the system
// names no language.
void KvChooseUserLocale();
