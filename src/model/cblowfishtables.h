#pragma once

#include <QtGlobal>

inline constexpr int kBlowFishRounds = 16;

// Initial P-array and S-boxes of the cipher, before any key is mixed in.
extern const quint32 kBlowFishInitP[kBlowFishRounds + 2];
extern const quint32 kBlowFishInitS[4][256];
