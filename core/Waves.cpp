#include "core/Waves.h"

#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/Random.h"
#include "core/World.h"
#include "enemies/Bandit2.h"
#include "enemies/Cube.h"
#include "enemies/Fighter2.h"
#include "enemies/Piege.h"
#include "enemies/Ship1.h"
#include "enemies/Tache.h"
#include "enemies/Tank.h"

namespace {

// Mean ticks between spawns of each rule.
constexpr int FighterTicks = 300;
constexpr int TacheTicks = 1000;
constexpr int CubeTicks = 160, CubeTicksAbove10000 = 240;
constexpr int BanditTicks = 160;
constexpr int Ship1Ticks = 200;
constexpr int PiegeTicks = 150, PiegeTicksAbove10000 = 250;
constexpr int TankTicks = 350, TankTicksAbove80000 = 250;
constexpr int ExtraTacheTicks = 300;

// Score tiers.
constexpr int HardScore = 10000;
constexpr int PiegeScore = 4000;
constexpr int TankScore = 50000;
constexpr int FastTankScore = 80000;
constexpr int TankLullScore = 100000;

constexpr int MaxTanks = 3, MaxTanksAbove100000 = 6;

float lane() {
    return static_cast<float>(gameRand() % 140) / 10.0f - 7.0f;
}
float agility() {
    return static_cast<float>(gameRand() % 64) * 0.0078125f + 0.5f;
}
int column() {
    return gameRand() % 21 - 10;
}

bool banditsFly(int score) {
    return (score >= 1001 && score <= 11999) || score > 35000;
}
bool raidersFly(int score) {
    return (score >= 12001 && score <= 34999) || score > 55000;
}

// The tank rule, past the tank score. True when the extra nest rule follows this frame: only above
// the lull score, where a tank draw also allows more tanks; a draw at the lull score itself adds
// nothing and ends the frame's rules, as does any frame at or below it.
bool spawnTank(ListSprite* sprites, int score, bool hasShip, int level) {
    Engine* engine = Engine::instance();
    if (!hasShip || !engine->chance(score <= FastTankScore ? TankTicks : TankTicksAbove80000))
        return score > TankLullScore;
    if (score == TankLullScore)
        return false;
    const int most = score < TankLullScore ? MaxTanks : MaxTanksAbove100000;
    if (Tank::living() < most)
        sprites->add(new Tank(sprites, column(), 2 * level + 7));
    return score > TankLullScore;
}

} // namespace

// One fixed sequence of random tests per frame; each success appends one enemy ahead of the player.
// The flying enemies draw their lane first and their agility second.
void runWaves(World* world) {
    Engine* engine = Engine::instance();
    ListSprite* sprites = world->sprites;
    const int score = world->score;
    const bool hasShip = engine->ship != nullptr;
    const int level = hasShip ? score / 1000 : 0;

    if (engine->chance(FighterTicks)) {
        const float x = lane();
        const float a = agility();
        sprites->add(new Fighter2(sprites, x, 70.0f, a, level + 3));
    }
    if (engine->chance(TacheTicks))
        sprites->add(new Tache(sprites, static_cast<float>(column()), level + 8));
    if (engine->chance(score > HardScore ? CubeTicksAbove10000 : CubeTicks))
        sprites->add(new Cube(sprites, 2, column()));
    if (hasShip && banditsFly(score) && engine->chance(BanditTicks)) {
        const float x = lane();
        const float a = agility();
        sprites->add(new Bandit2(sprites, x, 70.0f, a, level + 3));
    }
    if (hasShip && raidersFly(score) && engine->chance(Ship1Ticks)) {
        const float x = lane();
        const float a = agility();
        sprites->add(
            new Ship1(sprites, x, 70.0f, a, static_cast<int>(1.5f * static_cast<float>(level) + 3.0f)));
    }
    if (score <= PiegeScore)
        return;
    if (engine->chance(score > HardScore ? PiegeTicksAbove10000 : PiegeTicks))
        sprites->add(new Piege(sprites, 2.0f, static_cast<float>(column())));
    if (score <= TankScore)
        return;
    if (spawnTank(sprites, score, hasShip, level) && engine->chance(ExtraTacheTicks))
        sprites->add(new Tache(sprites, static_cast<float>(column()), level + 8));
}
