#include "core/SpriteModels.h"

#include "enemies/Bandit2.h"
#include "enemies/Cube.h"
#include "enemies/Diamond.h"
#include "enemies/Fighter2.h"
#include "enemies/Scratcher.h"
#include "enemies/Ship1.h"
#include "enemies/Tank.h"
#include "player/MyFire3.h"
#include "player/MyShip.h"

void buildSpriteModels() {
    MyShip::buildModels();
    Ship1::buildModels();
    Bandit2::buildModels();
    Fighter2::buildModels();
    Cube::buildModels();
    Diamond::buildModels();
    Scratcher::buildModels();
    MyFire3::buildModels();
    Tank::buildModels();
}
