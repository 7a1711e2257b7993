// Interim stand-ins until the generated models land: one triangle each.
#include "models/Models.h"

namespace {
Mesh triangle() {
    return Mesh{{0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, 0, 0, -1, 0, 1, 0, 0, 1}};
}
} // namespace

Mesh meshMyShip() {
    return triangle();
}
Mesh meshShield() {
    return triangle();
}
Mesh meshBandit2() {
    return triangle();
}
Mesh meshFighter2() {
    return triangle();
}
Mesh meshShip1() {
    return triangle();
}
Mesh meshCube() {
    return triangle();
}
Mesh meshCapsule() {
    return triangle();
}
Mesh meshMissile() {
    return triangle();
}
