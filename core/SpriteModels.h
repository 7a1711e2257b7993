#pragma once

// Builds the display-list models of every sprite class, in the start-up order.
void buildSpriteModels();
