// Draws every model lit and textured with a small software rasteriser (back faces culled, as in the
// game) and checks that it fills its picture. With ORBITRAX_MODEL_SHOTS set to a folder, the pictures are
// written there for a look.
#include "models/Models.h"
#include "models/ShapeBuilder.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

struct Shot {
    const char* name;
    std::function<Mesh()> make;
    float divisor;
    bool flipV;
    Rotation list;
    const char* texture;
};

std::vector<Shot> shots() {
    const Rotation none;
    return {
        {"ship", meshMyShip, 120, false, none, "textures/myship.png"},
        {"bandit2", meshBandit2, 100, false,
         Rotation::about(90, 0, 1, 0).then(Rotation::about(90, 1, 0, 0)).then(Rotation::about(180, 0, 1, 0)),
         "textures/bandit2.png"},
        {"fighter2", meshFighter2, 1, true, Rotation::about(180, 0, 1, 0), "textures/fighter2.png"},
        {"ship1", meshShip1, 100, false, Rotation::about(90, 1, 0, 0).then(Rotation::about(190, 0, 1, 0)),
         "textures/bandit1.png"},
        {"cube", meshCube, 1.5f, false, none, "textures/cube.png"},
        {"capsule", meshCapsule, 1, true, none, "textures/capsule_power.png"},
        {"missile", meshMissile, 800, false, none, "textures/missile.png"},
        {"shield", meshShield, 1, false, Rotation::about(-90, 1, 0, 0), "textures/floor1.png"},
    };
}

// Renders the mesh seen from direction (yaw, pitch) in degrees; returns the share of covered pixels.
double render(const Mesh& mesh, const QImage& tex, float yaw, float pitch, QImage& out) {
    const int w = out.width(), h = out.height();
    out.fill(qRgb(20, 24, 40));
    std::vector<float> depth(w * h, 1e9f);
    const Rotation view = Rotation::about(pitch, 1, 0, 0).then(Rotation::about(yaw, 0, 1, 0));
    std::vector<V3> p(mesh.vertexCount()), n(mesh.vertexCount());
    float extent = 0;
    for (int i = 0; i < mesh.vertexCount(); ++i) {
        const float* v = mesh.vertex(i);
        p[i] = view.apply({v[0], v[1], v[2]});
        n[i] = view.apply({v[3], v[4], v[5]});
        extent = std::max({extent, std::fabs(p[i].x), std::fabs(p[i].y)});
    }
    const float scale = 0.45f * std::min(w, h) / extent;
    const V3 light{-0.4f, 0.7f, -0.6f}; // towards the light, camera looks along +z
    int covered = 0;
    for (int t = 0; t < mesh.triangleCount(); ++t) {
        float sx[3], sy[3];
        for (int k = 0; k < 3; ++k) {
            sx[k] = w / 2.0f + p[3 * t + k].x * scale;
            sy[k] = h / 2.0f - p[3 * t + k].y * scale;
        }
        // Seen from −z: counter-clockwise on screen (y down) means negative signed area here.
        const float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (area >= 0)
            continue; // back face
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
        const int x1 = std::min(w - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
        const int y1 = std::min(h - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float b0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                const float b1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                const float b2 = 1 - b0 - b1;
                if (b0 < 0 || b1 < 0 || b2 < 0)
                    continue;
                const float z = b0 * p[3 * t].z + b1 * p[3 * t + 1].z + b2 * p[3 * t + 2].z;
                if (z >= depth[y * w + x])
                    continue;
                depth[y * w + x] = z;
                V3 nn{b0 * n[3 * t].x + b1 * n[3 * t + 1].x + b2 * n[3 * t + 2].x,
                      b0 * n[3 * t].y + b1 * n[3 * t + 1].y + b2 * n[3 * t + 2].y,
                      b0 * n[3 * t].z + b1 * n[3 * t + 1].z + b2 * n[3 * t + 2].z};
                const float len = std::sqrt(nn.x * nn.x + nn.y * nn.y + nn.z * nn.z) + 1e-6f;
                const float ll = std::sqrt(light.x * light.x + light.y * light.y + light.z * light.z);
                const float d =
                    std::max(0.0f, (nn.x * light.x + nn.y * light.y + nn.z * light.z) / (len * ll));
                const float hz = (-nn.z / len + d) * 0.5f; // rough highlight towards the viewer
                const float specular = std::pow(std::max(0.0f, hz), 12.0f) * 0.4f;
                const float u = b0 * mesh.vertex(3 * t)[6] + b1 * mesh.vertex(3 * t + 1)[6] +
                                b2 * mesh.vertex(3 * t + 2)[6];
                const float v = b0 * mesh.vertex(3 * t)[7] + b1 * mesh.vertex(3 * t + 1)[7] +
                                b2 * mesh.vertex(3 * t + 2)[7];
                const QRgb c = tex.pixel(std::clamp(static_cast<int>(u * tex.width()), 0, tex.width() - 1),
                                         std::clamp(static_cast<int>(v * tex.height()), 0, tex.height() - 1));
                const float k = 0.3f + 0.8f * d;
                auto ch = [&](int c8) {
                    return std::clamp(static_cast<int>(c8 * k + 255 * specular), 0, 255);
                };
                out.setPixel(x, y, qRgb(ch(qRed(c)), ch(qGreen(c)), ch(qBlue(c))));
            }
    }
    for (float z : depth)
        covered += z < 1e8f;
    return static_cast<double>(covered) / (w * h);
}

TEST(ModelShots, EveryModelFillsItsPicture) {
    const char* res = std::getenv("ORBITRAX_RESOURCE_DIR");
    const char* dir = std::getenv("ORBITRAX_MODEL_SHOTS");
    for (const Shot& s : shots()) {
        Mesh mesh = s.make();
        smoothNormals(mesh);
        if (s.divisor != 1)
            scalePositions(mesh, s.divisor);
        if (s.flipV)
            flipTextureV(mesh);
        for (int i = 0; i < mesh.vertexCount(); ++i) {
            float* v = mesh.vertex(i);
            const V3 p = s.list.apply({v[0], v[1], v[2]}), n = s.list.apply({v[3], v[4], v[5]});
            v[0] = p.x, v[1] = p.y, v[2] = p.z, v[3] = n.x, v[4] = n.y, v[5] = n.z;
        }
        QImage tex;
        if (res)
            tex.load(QString(res) + "/Resources/" + s.texture);
        if (tex.isNull()) {
            tex = QImage(4, 4, QImage::Format_RGB32);
            tex.fill(qRgb(200, 200, 200));
        }
        QImage sheet(1280, 320, QImage::Format_RGB32);
        // As the chase camera sees it, three-quarter front, from below, from above.
        const float views[4][2] = {{0, 18}, {200, 25}, {150, -20}, {0, 70}};
        double share = 0;
        for (int k = 0; k < 4; ++k) {
            QImage one(320, 320, QImage::Format_RGB32);
            share += render(mesh, tex, views[k][0], views[k][1], one) / 4;
            for (int y = 0; y < 320; ++y)
                for (int x = 0; x < 320; ++x)
                    sheet.setPixel(k * 320 + x, y, one.pixel(x, y));
        }
        EXPECT_GT(share, 0.04) << s.name;
        EXPECT_LT(share, 0.8) << s.name;
        if (dir) {
            QDir().mkpath(dir);
            sheet.save(QString(dir) + "/" + s.name + ".png");
        }
    }
}

} // namespace
