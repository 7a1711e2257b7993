#pragma once

#include <string>

// The one way to the on/off switches of the fixed pipeline. A pass sets its switches with apply();
// a sprite's draw changes them through a GlState object, which puts each one back on exit as it found
// it, so that every draw leaves the pass's switches as it found them. In check builds
// (ORBITRAX_GL_CHECKS) the sprite list compares the switches around each draw, and each pass ends
// with checkErrors().
class GlState {
public:
    enum Switch : unsigned {
        Lighting = 1u << 0,
        Texture2D = 1u << 1,
        Blend = 1u << 2,
        AlphaTest = 1u << 3,
        CullFace = 1u << 4,
        DepthTest = 1u << 5,
        StencilTest = 1u << 6,
        Fog = 1u << 7,
        PolygonOffsetFill = 1u << 8,
        TextureGenS = 1u << 9,
        TextureGenT = 1u << 10,
        DepthWrite = 1u << 11, // glDepthMask
    };

    explicit GlState(unsigned on, unsigned off = 0);
    ~GlState();
    GlState(const GlState&) = delete;
    GlState& operator=(const GlState&) = delete;

    // More changes in the same scope; each switch goes back to what it was before its first change.
    void set(unsigned on, unsigned off = 0);

    // Turns the switches of `on` on and those of `off` off, for what follows.
    static void apply(unsigned on, unsigned off = 0);
    // The word of the switches as the driver holds them now (a query: for checks).
    static unsigned current();
    // "blend, alpha test": the switches of a word, for messages.
    static std::string names(unsigned word);
    // Drains the driver's error flags after a pass and reports them. Does nothing outside check builds.
    static void checkErrors(const char* pass);
    // One line on stderr for the first report under a key (a pass, a sprite kind); every report counts.
    static void report(const std::string& key, const std::string& message);
    // The reports made since the last call, which starts the count again.
    static int takeReportCount();

private:
    unsigned touched = 0; // switches this object changed
    unsigned found = 0;   // their values before the first change
};
