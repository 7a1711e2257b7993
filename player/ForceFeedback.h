#pragma once

// Force feedback of the first joystick: a short buzz per salvo and bomb, a jolt per hit.
void openForceFeedback();
int playShotEffect();
int playHitEffect();
void closeForceFeedback();
