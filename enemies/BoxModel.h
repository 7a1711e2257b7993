#pragma once

// A textured box as a display list: six quads from −edge/2 to edge/2 on every axis, each face mapped
// onto the whole texture. Deletes oldList first when it is non-zero (models are rebuilt after a video-mode
// change) and returns the new list.
unsigned int buildBoxList(unsigned int oldList, float edge);
