#include "core/SpriteModels.h"

#include "player/MyShip.h"

void buildSpriteModels() {
    MyShip::buildModels();
}
