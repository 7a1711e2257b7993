// Interim stand-ins until the player's ship lands.
#include "player/ForceFeedback.h"
#include "player/MyShip.h"

MyShip::MyShip(List* owner, int energy)
    : Sprite(owner, 1, 0, 0.5f, -3), weaponLevel(0), energy(energy), maxEnergy(energy), shipState(1),
      accelX(0), accelZ(0), score(0), spinAngle(0), bombs(5), shotCount(0), deathTime(0), invulnerable(0),
      invulnerableUntil(0) {}
MyShip::~MyShip() = default;
void MyShip::draw() {}
void MyShip::collide(Sprite*) {}
void MyShip::move() {}
void MyShip::drawShadow() {}
void MyShip::addScore(int points) {
    score += points;
}
void MyShip::buildModels() {}
unsigned int MyShip::listBase() {
    return 0;
}

void openForceFeedback() {}
int playShotEffect() {
    return -1;
}
int playHitEffect() {
    return -1;
}
void closeForceFeedback() {}
