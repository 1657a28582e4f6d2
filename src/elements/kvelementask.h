#pragma once

#include "elements/kvelementrules.h"

#include <optional>

// Asks a question of the element commands through the prompt seam: true to go on (no
// question, or Yes).
bool KvGoOn(const std::optional<KvQuestion>& question);
// A notice with the error caption 5007 and the stop icon.
void KvShowError(const QString& text);
