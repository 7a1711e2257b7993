// Front-end pictures: menu buttons, high-score backdrop, help sheet, icons, the title picture.
#include "Paint.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace gen {

namespace {

// Star field with a few bright stars, drawn straight into an image.
void stars(QImage& img, uint64_t seed, int count) {
    Rng rng(seed);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i) {
        const double x = rng.uniform() * img.width(), y = rng.uniform() * img.height();
        const double b = std::pow(rng.uniform(), 3);
        const int a = static_cast<int>(60 + 195 * b);
        const QColor c = rng.uniform() < 0.3 ? QColor(200, 210, 255, a) : QColor(255, 245, 230, a);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(x, y), 0.5 + 1.2 * b, 0.5 + 1.2 * b);
    }
    p.end();
}

QImage nebulaBackdrop(int w, int h, uint64_t seed, QColor a, QColor b, double strength) {
    Noise n(seed, 8), m(seed + 1, 8);
    return paint(w, h, [&](double u, double v) {
        const double aspect = static_cast<double>(w) / h;
        const double x = u * aspect, y = v;
        const double wx = n.fbm(x * 1.5 + 3, y * 1.5, 4), wy = n.fbm(x * 1.5, y * 1.5 + 5, 4);
        const double d = smoothstep(-0.1, 0.7, m.fbm(x * 2 + wx, y * 2 + wy, 5)) * strength;
        const QColor c = mixColor(a, b, clamp01(0.5 + wx));
        return rgba(0.01 + c.redF() * d, 0.01 + c.greenF() * d, 0.03 + c.blueF() * d);
    });
}

// Chrome lettering: dark edge, mirrored sky gradient with a horizon line, a thin bright rim.
void chromeText(QPainter& p, const QPainterPath& path, double top, double bottom) {
    for (int i = 8; i >= 1; --i)
        p.strokePath(path,
                     QPen(QColor(80, 150, 255, 14), i * 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(QColor(10, 15, 30), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0.0, QColor(250, 252, 255));
    g.setColorAt(0.35, QColor(150, 175, 215));
    g.setColorAt(0.5, QColor(40, 50, 80));
    g.setColorAt(0.55, QColor(120, 100, 80));
    g.setColorAt(0.8, QColor(235, 210, 170));
    g.setColorAt(1.0, QColor(255, 245, 225));
    p.fillPath(path, g);
    p.strokePath(path, QPen(QColor(255, 255, 255, 150), 1.2));
}

QPainterPath centredText(const QString& text, const QFont& f, QPointF centre) {
    QPainterPath path;
    path.addText(0, 0, f, text);
    const QRectF br = path.boundingRect();
    path.translate(centre - br.center());
    return path;
}

// ---- menu buttons ----

QImage menuButton(const QString& word, int w, int h, bool pressed) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double r = h * 0.3;
    QPainterPath plate;
    plate.addRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), r, r);
    QLinearGradient steel(0, 0, 0, h);
    if (pressed) {
        steel.setColorAt(0, QColor(90, 55, 10));
        steel.setColorAt(0.5, QColor(60, 35, 5));
        steel.setColorAt(0.52, QColor(40, 22, 2));
        steel.setColorAt(1, QColor(110, 70, 15));
    } else {
        steel.setColorAt(0, QColor(120, 130, 150));
        steel.setColorAt(0.48, QColor(45, 52, 68));
        steel.setColorAt(0.52, QColor(25, 30, 42));
        steel.setColorAt(1, QColor(70, 80, 100));
    }
    p.fillPath(plate, steel);
    p.setPen(QPen(pressed ? QColor(255, 190, 60) : QColor(150, 180, 230), std::max(1.0, h / 22.0)));
    p.drawPath(plate);
    QFont f(displayFamily());
    f.setPixelSize(static_cast<int>(h * 0.62));
    f.setLetterSpacing(QFont::AbsoluteSpacing, h * 0.06);
    const QPainterPath text = centredText(word, f, QPointF(w / 2.0, h / 2.0 + (pressed ? 1 : 0)));
    const QColor glow = pressed ? QColor(255, 170, 40) : QColor(90, 170, 255);
    for (int i = 3; i >= 1; --i) {
        QColor g = glow;
        g.setAlpha(50);
        p.strokePath(text, QPen(g, h * 0.07 * i, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    p.fillPath(text, pressed ? QColor(255, 235, 180) : QColor(235, 245, 255));
    p.end();
    return img;
}

// ---- the title picture: a chrome logo over a planet horizon ----

QImage titlePicture() {
    const int w = 640, h = 480;
    QImage img = nebulaBackdrop(w, h, 4000, QColor(120, 40, 160), QColor(30, 80, 200), 0.45);
    stars(img, 4001, 500);
    Noise n(4002, 16);
    // Planet horizon filling the lower part.
    const double cx = w * 0.5, cy = h * 2.4, R = h * 1.75;
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double dx = x - cx, dy = y - cy, d = std::sqrt(dx * dx + dy * dy);
            const double atm = std::exp(-std::fabs(d - R) / 14.0);
            double r = qRed(row[x]) / 255.0, g = qGreen(row[x]) / 255.0, b = qBlue(row[x]) / 255.0;
            if (d < R) {
                const double depth = (R - d) / 60.0;
                const double cloud = 0.5 + 0.5 * n.fbm(x / 90.0, (y - 300) / 25.0, 5);
                const double lit = std::exp(-depth * 0.6) * 0.9 + 0.1;
                r = (0.08 + 0.25 * cloud) * lit;
                g = (0.15 + 0.3 * cloud) * lit;
                b = (0.3 + 0.35 * cloud) * lit;
            }
            r += 0.35 * atm;
            g += 0.6 * atm;
            b += 1.0 * atm;
            row[x] = rgba(r, g, b);
        }
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(displayFamily());
    f.setPixelSize(118);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    const QPainterPath logo = centredText("ORBITRAX", f, QPointF(w / 2.0, h * 0.36));
    const QRectF br = logo.boundingRect();
    // Extrusion: the same shape stepped down and right in dark steel.
    for (int i = 10; i >= 1; --i)
        p.fillPath(logo.translated(i * 0.8, i * 1.2), QColor(20 + i * 3, 25 + i * 3, 45 + i * 4));
    chromeText(p, logo, br.top(), br.bottom());
    // Lens flare on the rim of the first letter.
    QRadialGradient flare(QPointF(br.left() + 30, br.top() + 8), 60);
    flare.setColorAt(0, QColor(255, 255, 255, 230));
    flare.setColorAt(0.1, QColor(200, 220, 255, 120));
    flare.setColorAt(1, QColor(120, 160, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(flare);
    p.drawEllipse(QPointF(br.left() + 30, br.top() + 8), 60, 60);
    QFont sub(boldFamily());
    sub.setPixelSize(18);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 9);
    p.setFont(sub);
    p.setPen(QColor(170, 200, 255));
    p.drawText(QRectF(0, br.bottom() + 18, w, 30), Qt::AlignHCenter, "THE ORBITAL STRIKE");
    p.end();
    return img;
}

// ---- high-score backdrop: a station in orbit, dark enough for yellow rows ----

// Planet limb at the lower right.
void drawPlanetLimb(QPainter& p, int w, int h) {
    QRadialGradient planet(QPointF(w * 1.05, h * 1.45), h * 0.95);
    planet.setColorAt(0.0, QColor(30, 60, 90));
    planet.setColorAt(0.93, QColor(20, 45, 80));
    planet.setColorAt(0.985, QColor(90, 150, 230));
    planet.setColorAt(1.0, QColor(90, 150, 230, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(planet);
    p.drawEllipse(QPointF(w * 1.05, h * 1.45), h * 0.95, h * 0.95);
}

// The station's ring on spokes around the hub, seen at an angle, with its window lights.
void drawStationRing(QPainter& p, int w, int h) {
    p.save();
    p.translate(w * 0.68, h * 0.38);
    p.rotate(-18);
    p.scale(1.0, 0.42);
    const double R = 210;
    QPen ring(QColor(105, 110, 125), 26);
    p.setPen(ring);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), R, R);
    p.setPen(QPen(QColor(160, 165, 180), 8));
    p.drawEllipse(QPointF(0, -4), R, R);
    p.setPen(QPen(QColor(80, 85, 100), 9));
    for (int i = 0; i < 6; ++i) {
        const double a = i * Pi / 3;
        p.drawLine(QPointF(0, 0), QPointF(R * std::cos(a), R * std::sin(a)));
    }
    // Window lights along the ring.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 72; ++i) {
        const double a = i * 2 * Pi / 72;
        p.setBrush(i % 5 == 0 ? QColor(255, 220, 120) : QColor(255, 240, 190, 160));
        p.drawEllipse(QPointF(R * std::cos(a), R * std::sin(a)), 3, 3);
    }
    p.restore();
}

// Hub, truss and solar panels drawn upright.
void drawStationHub(QPainter& p, int w, int h) {
    QLinearGradient hub(w * 0.68 - 40, 0, w * 0.68 + 40, 0);
    hub.setColorAt(0, QColor(70, 75, 90));
    hub.setColorAt(0.4, QColor(190, 195, 210));
    hub.setColorAt(1, QColor(40, 45, 55));
    p.setBrush(hub);
    p.drawRoundedRect(QRectF(w * 0.68 - 34, h * 0.38 - 110, 68, 220), 20, 20);
    p.setBrush(QColor(255, 90, 60));
    p.drawEllipse(QPointF(w * 0.68, h * 0.38 - 104), 5, 5);
    p.setPen(QPen(QColor(120, 125, 140), 5));
    p.drawLine(QPointF(w * 0.68, h * 0.38 + 110), QPointF(w * 0.68, h * 0.38 + 210));
    for (int side : {-1, 1}) {
        QRectF panel(w * 0.68 + (side < 0 ? -250 : 30), h * 0.38 + 180, 220, 50);
        QLinearGradient solar(panel.topLeft(), panel.bottomRight());
        solar.setColorAt(0, QColor(30, 50, 120));
        solar.setColorAt(0.5, QColor(80, 110, 200));
        solar.setColorAt(1, QColor(20, 35, 90));
        p.setPen(QPen(QColor(150, 155, 170), 2));
        p.setBrush(solar);
        p.drawRect(panel);
        for (int i = 1; i < 8; ++i)
            p.drawLine(QPointF(panel.left() + panel.width() * i / 8, panel.top()),
                       QPointF(panel.left() + panel.width() * i / 8, panel.bottom()));
    }
}

// Cloud bands and storms over the planet's face.
void cloudPlanet(QImage& img, int w, int h) {
    Noise n(4102, 16);
    const double pcx = w * 1.05, pcy = h * 1.45, pr = h * 0.95 * 0.975;
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double dx = (x - pcx) / pr, dy = (y - pcy) / pr, d2 = dx * dx + dy * dy;
            if (d2 >= 1)
                continue;
            const double z = std::sqrt(1 - d2);
            const double lat = std::asin(dy), lon = std::atan2(dx, z);
            const double cloud =
                smoothstep(0.0, 0.6, n.fbm(lon * 3 + 5, lat * 9 + 2 * n.fbm(lon, lat * 2, 3), 5));
            const double lit = 0.35 + 0.65 * z;
            const double r = qRed(row[x]) / 255.0, g = qGreen(row[x]) / 255.0, b = qBlue(row[x]) / 255.0;
            row[x] = rgba(mix(r, 0.55, cloud * 0.6) * lit, mix(g, 0.65, cloud * 0.6) * lit,
                          mix(b, 0.8, cloud * 0.6) * lit);
        }
    }
}

// Darken the left two thirds where the rows are read.
void darkenReadingSide(QImage& img, int w, int h) {
    QImage dark =
        paint(w, h, [](double u, double) { return rgba(0, 0, 0, 0.45 * smoothstep(0.75, 0.2, u)); });
    QPainter q(&img);
    q.drawImage(0, 0, dark);
    q.end();
}

QImage stationPicture() {
    const int w = 1024, h = 768;
    QImage img = nebulaBackdrop(w, h, 4100, QColor(40, 60, 140), QColor(90, 30, 110), 0.3);
    stars(img, 4101, 900);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawPlanetLimb(p, w, h);
    drawStationRing(p, w, h);
    drawStationHub(p, w, h);
    p.end();
    cloudPlanet(img, w, h);
    darkenReadingSide(img, w, h);
    return img;
}

// ---- help sheet, 640 × 447, calm bottom band for the Close button ----

void keyCap(QPainter& p, QRectF r, const QString& label) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(90, 98, 120));
    g.setColorAt(1, QColor(40, 45, 60));
    p.setPen(QPen(QColor(160, 190, 240), 1.2));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    QFont f(boldFamily());
    f.setPixelSize(label.size() > 3 ? 9 : 11);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, label);
}

// The keys, each row's caps and what they do.
void drawHelpKeys(QPainter& p, const QFont& body) {
    struct Row {
        QStringList keys;
        QString text;
    };
    const Row rows[] = {
        {{"\u2190", "\u2191", "\u2192", "\u2193"}, "Steer the ship (or the joystick)"},
        {{"W", "Z", "Alt", "Ctrl"}, "Fire (joystick button 0)"},
        {{"X", "Space"}, "Drop a bomb (joystick button 1)"},
        {{"P", "C"}, "Pause / resume"},
        {{"F1", "F2"}, "Chase camera / cockpit camera"},
        {{"D"}, "Show the frame rate"},
        {{"F"}, "Fog on / off"},
        {{"G"}, "Highlights on / off"},
        {{"S"}, "Shadows on / off"},
        {{"Esc"}, "Back to the menu"},
    };
    double y = 56;
    for (const Row& r : rows) {
        double x = 24;
        for (const QString& k : r.keys) {
            const double kw = k.size() > 2 ? 40 : 24;
            keyCap(p, QRectF(x, y, kw, 22), k);
            x += kw + 5;
        }
        p.setFont(body);
        p.setPen(QColor(225, 235, 255));
        p.drawText(QRectF(200, y, 200, 22), Qt::AlignVCenter | Qt::AlignLeft, r.text);
        y += 30;
    }
}

// Capsules and what they give.
void drawHelpCapsules(QPainter& p, const QFont& body) {
    QFont head(displayFamily());
    head.setPixelSize(18);
    p.setFont(head);
    p.setPen(QColor(150, 200, 255));
    p.drawText(QRectF(440, 52, 190, 24), Qt::AlignLeft, "CAPSULES");
    struct Cap {
        QColor colour;
        QString mark, text;
    };
    const Cap caps[] = {{QColor(40, 110, 255), "S", "Shield energy"},
                        {QColor(245, 205, 20), "B", "Extra bomb"},
                        {QColor(225, 40, 200), "P", "Weapon power"},
                        {QColor(40, 210, 70), "I", "Invulnerability"}};
    double y = 90;
    for (const Cap& c : caps) {
        QRectF pill(440, y, 46, 24);
        QLinearGradient g(pill.topLeft(), pill.bottomLeft());
        g.setColorAt(0, c.colour.lighter(160));
        g.setColorAt(0.5, c.colour);
        g.setColorAt(1, c.colour.darker(200));
        p.setPen(QPen(QColor(230, 230, 240), 1.5));
        p.setBrush(g);
        p.drawRoundedRect(pill, 12, 12);
        p.setFont(body);
        p.setPen(Qt::white);
        p.drawText(pill, Qt::AlignCenter, c.mark);
        p.setPen(QColor(225, 235, 255));
        p.drawText(QRectF(494, y, 140, 24), Qt::AlignVCenter | Qt::AlignLeft, c.text);
        y += 40;
    }
}

// The capsule hint and a calm band for the Close button.
void drawHelpFooter(QPainter& p, int w, int h) {
    QFont small(boldFamily());
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(180, 190, 215));
    p.drawText(QRectF(440, 260, 190, 110), Qt::TextWordWrap,
               "Shoot the rolling cubes: every fifth one leaves a capsule. Fly into it to collect it.");
    p.fillRect(QRectF(0, h - 40, w, 40), QColor(8, 10, 20));
    p.setPen(QPen(QColor(70, 100, 160), 1));
    p.drawLine(QPointF(0, h - 40.5), QPointF(w, h - 40.5));
}

QImage helpPicture() {
    const int w = 640, h = 447;
    QImage img = nebulaBackdrop(w, h, 4200, QColor(30, 50, 120), QColor(70, 30, 90), 0.35);
    stars(img, 4201, 250);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont title(displayFamily());
    title.setPixelSize(30);
    const QPainterPath t = centredText("ORBITRAX  CONTROLS", title, QPointF(w / 2.0, 26));
    chromeText(p, t, t.boundingRect().top(), t.boundingRect().bottom());

    QFont body(boldFamily());
    body.setPixelSize(12);
    drawHelpKeys(p, body);
    drawHelpCapsules(p, body);
    drawHelpFooter(p, w, h);
    p.end();
    return img;
}

// ---- icons ----

QImage appIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    QRadialGradient bg(QPointF(100, 90), 170);
    bg.setColorAt(0, QColor(60, 70, 160));
    bg.setColorAt(0.6, QColor(20, 20, 60));
    bg.setColorAt(1, QColor(5, 5, 20));
    p.setPen(QPen(QColor(150, 180, 240), 6));
    p.setBrush(bg);
    p.drawEllipse(QPointF(128, 128), 118, 118);
    // Orbit ring.
    p.save();
    p.translate(128, 128);
    p.rotate(-25);
    p.setPen(QPen(QColor(255, 170, 40), 8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 100, 36);
    p.restore();
    // The ship: a swept arrowhead.
    QPainterPath ship;
    ship.moveTo(128, 44);
    ship.lineTo(196, 190);
    ship.lineTo(150, 170);
    ship.lineTo(128, 200);
    ship.lineTo(106, 170);
    ship.lineTo(60, 190);
    ship.closeSubpath();
    QLinearGradient g(60, 0, 196, 0);
    g.setColorAt(0, QColor(150, 160, 180));
    g.setColorAt(0.5, QColor(250, 252, 255));
    g.setColorAt(1, QColor(110, 120, 140));
    p.setPen(QPen(QColor(20, 30, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(ship);
    p.setBrush(QColor(60, 150, 255));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(128, 118), 9, 20);
    p.end();
    return img;
}

const char* iconSvg = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <radialGradient id="bg" cx="100" cy="90" r="170" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#3c46a0"/>
      <stop offset="0.6" stop-color="#14143c"/>
      <stop offset="1" stop-color="#050514"/>
    </radialGradient>
    <linearGradient id="hull" x1="60" y1="0" x2="196" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#96a0b4"/>
      <stop offset="0.5" stop-color="#fafcff"/>
      <stop offset="1" stop-color="#6e788c"/>
    </linearGradient>
  </defs>
  <circle cx="128" cy="128" r="118" fill="url(#bg)" stroke="#96b4f0" stroke-width="6"/>
  <ellipse cx="128" cy="128" rx="100" ry="36" fill="none" stroke="#ffaa28" stroke-width="8"
           transform="rotate(-25 128 128)"/>
  <path d="M128 44 L196 190 L150 170 L128 200 L106 170 L60 190 Z" fill="url(#hull)" stroke="#141e3c"
        stroke-width="4" stroke-linejoin="round"/>
  <ellipse cx="128" cy="118" rx="9" ry="20" fill="#3c96ff"/>
</svg>
)svg";

QImage downArrow() {
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath a;
    a.moveTo(3, 5);
    a.lineTo(13, 5);
    a.lineTo(8, 11);
    a.closeSubpath();
    p.fillPath(a, QColor(50, 50, 50));
    p.end();
    return img;
}

QImage productPicture() {
    const int w = 256, h = 256;
    QImage img = nebulaBackdrop(w, h, 4300, QColor(120, 40, 160), QColor(30, 80, 200), 0.5);
    stars(img, 4301, 120);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(QRectF(48, 20, 160, 160), appIcon(256));
    QFont f(displayFamily());
    f.setPixelSize(40);
    const QPainterPath t = centredText("ORBITRAX", f, QPointF(w / 2.0, 212));
    chromeText(p, t, t.boundingRect().top(), t.boundingRect().bottom());
    p.end();
    return img;
}

} // namespace

void makeTitle(const QString& dir) {
    savePng(titlePicture(), dir + "/vorn2.png", false);
}

std::vector<Embedded> makePictures(const QString& embedDir, const QString& iconDir) {
    std::vector<Embedded> list;
    ensureDir(embedDir + "/menu");
    struct Word {
        const char* name;
        const char* text;
    };
    const Word words[] = {{"play", "PLAY"},       {"highscore", "HIGH SCORE"},
                          {"options", "OPTIONS"}, {"credits", "CREDITS"},
                          {"help", "HELP"},       {"quit", "QUIT"}};
    struct Size {
        int width, w, h;
    };
    const Size sizes[] = {{640, 113, 22}, {800, 140, 27}, {1024, 164, 32}, {1280, 226, 44}};
    for (const Word& word : words)
        for (const Size& s : sizes)
            for (bool pressed : {false, true}) {
                // The normal help picture of the 800 set is drawn larger, like the 1024 one.
                const bool big = s.width == 800 && !pressed && QString(word.name) == "help";
                const QString file =
                    QString("menu/%1%2%3.png").arg(word.name, pressed ? "_on_" : "_").arg(s.width);
                savePng(menuButton(word.text, big ? 164 : s.w, big ? 32 : s.h, pressed),
                        embedDir + "/" + file, true);
                list.push_back({"/menu", QFileInfo(file).fileName(), file});
            }
    ensureDir(embedDir + "/productinfo");
    saveJpeg(stationPicture(), embedDir + "/productinfo/iss.jpg");
    saveJpeg(helpPicture(), embedDir + "/productinfo/help.jpg");
    savePng(productPicture(), embedDir + "/productinfo/product.png", false);
    list.push_back({"/productinfo", "iss.jpg", "productinfo/iss.jpg"});
    list.push_back({"/productinfo", "help.jpg", "productinfo/help.jpg"});
    list.push_back({"/productinfo", "product.png", "productinfo/product.png"});
    ensureDir(embedDir + "/icons");
    const QImage icon = appIcon(256);
    savePng(icon, embedDir + "/icons/orbitrax.png", true);
    savePng(downArrow(), embedDir + "/icons/downarrow.png", true);
    list.push_back({"/icons", "orbitrax.png", "icons/orbitrax.png"});
    list.push_back({"/icons", "downarrow.png", "icons/downarrow.png"});
    // Desktop integration picks these up beside the executable.
    savePng(icon, iconDir + "/orbitrax.png", true);
    for (int size : {48, 64, 128, 256})
        savePng(size == 256 ? icon : appIcon(size), iconDir + QString("/orbitrax-%1.png").arg(size), true);
    QFile svg(iconDir + "/orbitrax.svg");
    if (svg.open(QIODevice::WriteOnly | QIODevice::Truncate))
        svg.write(iconSvg);
    return list;
}

} // namespace gen
