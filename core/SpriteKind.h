#pragma once

// Kind codes: every collision reaction dispatches on the other sprite's kind.
enum SpriteKind : int {
    KindMyShip = 1,
    KindMyFire1 = 2, // also MyFire3
    KindMyFire2 = 3,
    KindMyFire4 = 4,
    KindCube = 7,
    KindEffect = 8, // Explosion, ExplosionJustSmoke, ExplosionMark, SpecialEffect1, PieceOfShip
    KindShip1 = 10,
    KindShip1Fire = 11,
    KindSpirale = 12,
    KindPiege = 13,
    KindPoto = 14,
    KindTank = 15,
    KindTankFire = 16,
    KindScratcher = 17,
    KindTache = 18,       // also TacheBench
    KindFighter = 19,     // Bandit2, Fighter2
    KindFighterFire = 20, // Bandit2Fire, Fighter2Fire
    KindDiamond = 21,
    KindMyFire4Smoke = 22,
};
