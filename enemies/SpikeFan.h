#pragma once

// The glowing spike of an enemy shot: a white-hot point with a yellow tail fading out behind it.
// Without colour it is the bare shape for the shadow pass.
void drawSpikeFan(float halfWidth, float length, bool coloured);
