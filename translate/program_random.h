// The program's one pseudo-random generator. Every request that draws random values draws them
// from here, so seeding it in one place affects all later draws.
#pragma once

namespace lumoset {

// A whole number from `low` to `high` inclusive, drawn uniformly.
int drawRandom(int low, int high);

// Seeds the generator from the clock. Until the first call it runs from its fixed default seed.
void seedRandomFromClock();

}  // namespace lumoset
