#include "platform/SDL_QWidget.h"

#include "platform/GameSurface.h"
#include "platform/KeyRouter.h"
#include "platform/SDL_QScene.h"

#include <QAbstractSpinBox>
#include <QGraphicsProxyWidget>
#include <QLineEdit>
#include <QOpenGLWidget>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTextEdit>

#include <algorithm>
#include <vector>

namespace {
// Live views, newest last: the newest is the one the game draws into.
std::vector<SDL_QWidget*> views;
} // namespace

SDL_QWidget::SDL_QWidget(QWidget* parent) : QGraphicsView(parent) {
    views.push_back(this);
    setScene(new SDL_QScene(this));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Scene coordinates are the view's pixels, so overlays are placed in window coordinates.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setCacheMode(QGraphicsView::CacheNone);
    setOptimizationFlags(QGraphicsView::DontAdjustForAntialiasing | QGraphicsView::DontSavePainterState);
    setFocusPolicy(Qt::StrongFocus);
    setUpViewport();
    KeyRouter::install();
}

SDL_QWidget::~SDL_QWidget() {
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
}

SDL_QWidget* SDL_QWidget::current() {
    return views.empty() ? nullptr : views.back();
}

SDL_QScene* SDL_QWidget::sdlScene() {
    return static_cast<SDL_QScene*>(scene());
}

QGraphicsProxyWidget* SDL_QWidget::addWidget(QWidget* widget) {
    return scene()->addWidget(widget);
}

void SDL_QWidget::enableGrabbing(bool grab) {
    grabbing = grab;
    if (grab)
        setFocus(Qt::OtherFocusReason);
}

bool SDL_QWidget::isGrabbing() const {
    return grabbing;
}

void SDL_QWidget::configureViewport(sdlq::Present present) {
    const bool wantGl = present == sdlq::Present::Blit;
    if (wantGl == usesGlViewport)
        return;
    usesGlViewport = wantGl;
    if (wantGl)
        setViewport(new QOpenGLWidget());
    else
        setViewport(new QWidget());
    setUpViewport();
}

void SDL_QWidget::setUpViewport() {
    // The frame covers the whole viewport; a background fill would only wipe it (or cost time).
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
}

bool SDL_QWidget::textFieldHasFocus() const {
    QGraphicsItem* item = scene()->focusItem();
    if (!item || !item->isWidget() || !item->isVisible())
        return false;
    auto* proxy = qobject_cast<QGraphicsProxyWidget*>(static_cast<QGraphicsWidget*>(item));
    if (!proxy || !proxy->widget())
        return false;
    QWidget* focus = proxy->widget()->focusWidget();
    if (!focus)
        focus = proxy->widget();
    return qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
           qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QAbstractSpinBox*>(focus);
}

void SDL_QWidget::drawBackground(QPainter* painter, const QRectF&) {
    if (GameSurface* surface = GameSurface::instance())
        surface->paint(painter, viewport());
}

void SDL_QWidget::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    setSceneRect(QRectF(QPointF(0, 0), QSizeF(viewport()->size())));
    if (current() == this) {
        if (GameSurface* surface = GameSurface::instance())
            surface->viewResized(viewport()->size());
    }
}
