#include "core/SpriteModels.h"

#include "player/MyFire3.h"
#include "player/MyShip.h"

void buildSpriteModels() {
    MyShip::buildModels();
    MyFire3::buildModels();
}
