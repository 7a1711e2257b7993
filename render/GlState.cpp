#include "render/GlState.h"

#include <GL/gl.h>

#include <cstdio>
#include <set>

namespace {

struct GlSwitchName {
    unsigned bit;
    GLenum cap; // 0: the depth write mask, which has a call of its own
    const char* name;
};

constexpr GlSwitchName GlSwitches[] = {
    {GlState::Lighting, GL_LIGHTING, "lighting"},
    {GlState::Texture2D, GL_TEXTURE_2D, "texture"},
    {GlState::Blend, GL_BLEND, "blend"},
    {GlState::AlphaTest, GL_ALPHA_TEST, "alpha test"},
    {GlState::CullFace, GL_CULL_FACE, "cull face"},
    {GlState::DepthTest, GL_DEPTH_TEST, "depth test"},
    {GlState::StencilTest, GL_STENCIL_TEST, "stencil test"},
    {GlState::Fog, GL_FOG, "fog"},
    {GlState::PolygonOffsetFill, GL_POLYGON_OFFSET_FILL, "polygon offset"},
    {GlState::TextureGenS, GL_TEXTURE_GEN_S, "texture gen s"},
    {GlState::TextureGenT, GL_TEXTURE_GEN_T, "texture gen t"},
    {GlState::DepthWrite, 0, "depth write"},
};

// How many errors one check drains at most: a lost context may keep answering with the same error.
constexpr int MaxErrorsPerCheck = 16;

int reportsMade = 0;

void turnSwitch(const GlSwitchName& s, bool on) {
    if (s.cap == 0)
        glDepthMask(on ? GL_TRUE : GL_FALSE);
    else if (on)
        glEnable(s.cap);
    else
        glDisable(s.cap);
}

bool switchIsOn(const GlSwitchName& s) {
    if (s.cap != 0)
        return glIsEnabled(s.cap) == GL_TRUE;
    GLboolean mask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    return mask == GL_TRUE;
}

} // namespace

GlState::GlState(unsigned on, unsigned off) {
    set(on, off);
}

GlState::~GlState() {
    for (const GlSwitchName& s : GlSwitches)
        if (touched & s.bit)
            turnSwitch(s, (found & s.bit) != 0);
}

void GlState::set(unsigned on, unsigned off) {
    for (const GlSwitchName& s : GlSwitches) {
        if (!((on | off) & s.bit))
            continue;
        if (!(touched & s.bit) && switchIsOn(s))
            found |= s.bit;
        touched |= s.bit;
        turnSwitch(s, (on & s.bit) != 0);
    }
}

void GlState::apply(unsigned on, unsigned off) {
    for (const GlSwitchName& s : GlSwitches)
        if ((on | off) & s.bit)
            turnSwitch(s, (on & s.bit) != 0);
}

unsigned GlState::current() {
    unsigned word = 0;
    for (const GlSwitchName& s : GlSwitches)
        if (switchIsOn(s))
            word |= s.bit;
    return word;
}

std::string GlState::names(unsigned word) {
    std::string text;
    for (const GlSwitchName& s : GlSwitches)
        if (word & s.bit)
            text += (text.empty() ? "" : ", ") + std::string(s.name);
    return text;
}

void GlState::checkErrors([[maybe_unused]] const char* pass) {
#ifdef ORBITRAX_GL_CHECKS
    for (int i = 0; i < MaxErrorsPerCheck; ++i) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR)
            return;
        char code[12];
        std::snprintf(code, sizeof code, "0x%04x", error);
        report(std::string("pass ") + pass, std::string("GL error ") + code + " in the " + pass + " pass");
    }
#endif
}

void GlState::report(const std::string& key, const std::string& message) {
    static std::set<std::string> reported;
    ++reportsMade;
    if (reported.insert(key).second)
        std::fprintf(stderr, "orbitrax: %s\n", message.c_str());
}

int GlState::takeReportCount() {
    const int n = reportsMade;
    reportsMade = 0;
    return n;
}
