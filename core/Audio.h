#pragma once

// Sound through SDL_mixer: the device, the nine samples and the music slots live in the Engine.
namespace Audio {

enum Sample : int {
    Welcome = 0,
    Tir = 1,
    Explode1 = 2,
    Explode2 = 3,
    TacheFire = 4,
    Glups = 5,
    PowerUp = 6,
    Detection = 7,
    GameOver = 8,
};

constexpr const char* sampleFiles[] = {"welcome.aiff",  "tir.aiff",       "explode1.aiff",
                                       "explode2.aiff", "tachefire.aiff", "glups.aiff",
                                       "powerup.aiff",  "detection.aiff", "gameover.aiff"};

constexpr int MixChannels = 22;

void playSample(int id, int volume);
void playSampleAt(int id, int volume, float z);
// Channel volume of a sound at depth z: (volume × k) / 128 with k = (63 − z) × 2 truncated.
int depthVolume(int volume, float z);

} // namespace Audio
