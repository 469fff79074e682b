#pragma once
// The tiers of the sample round brilliant in cutting order, as its intent
// lists them: girdle, pavilion mains and halves, crown mains, table, stars
// and crown halves.
namespace brevix {

enum BrilliantTier { G, P1, P2, C1, T, C2, C3 };

}  // namespace brevix
