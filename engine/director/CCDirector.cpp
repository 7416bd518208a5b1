#include "engine/director/CCDirector.h"

#include "engine/base/CCAffineTransform.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCOrientation.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCScheduler.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/input/CCGestureRecognizer.h"
#include "engine/input/CCKeypadDispatcher.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/input/CCView.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCEGLView.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCDecodedImage.h"
#include "engine/textures/CCTexture2D.h"

#include <algorithm>
#include <cstdio>

namespace kvengine {

int CCDirector::wideScreen = 0;

namespace {

CCString* nameConstant(const char* text) {
    // Made once and never released: the names are constants of the whole process.
    CCString* name = new CCString(text);
    return name;
}

} // namespace

CCString* ccEventKeyPress() {
    static CCString* name = nameConstant("EVENT_KEY_PRESS");
    return name;
}

CCString* ccEventPauseGame() {
    static CCString* name = nameConstant("EVENT_PAUSE_GAME");
    return name;
}

CCString* ccEventResumeGame() {
    static CCString* name = nameConstant("EVENT_RESUME_GAME");
    return name;
}

CCString* ccKeyName(unsigned code) {
    static CCString* names[] = {nameConstant("TOUCH_ESCAPE"),   nameConstant("TOUCH_RIGHT"),
                                nameConstant("TOUCH_LEFT"),     nameConstant("TOUCH_UP"),
                                nameConstant("TOUCH_DOWN"),     nameConstant("TOUCH_ADD"),
                                nameConstant("TOUCH_SUBSTRAC"), nameConstant("TOUCH_SPACE")};
    return code < 8 ? names[code] : nullptr;
}

// --- lifetime ----------------------------------------------------------------------------

CCDirector* CCDirector::makeSharedInstance() {
    CCDirector* director = new CCDisplayLinkDirector();
    director->init();
    setContentScaleFactorSource(&CCDirector::sharedContentScaleFactor);
    return director;
}

float CCDirector::sharedContentScaleFactor() {
    const CCDirector* director = existingInstance();
    return director ? director->m_contentScaleFactor : 1.0f;
}

void CCDirector::purgeInstance() {
    if (CCDirector* director = existingInstance()) {
        if (!director->m_purged) director->purgeDirector();
        director->releaseEverything();
    }
    CCSingleton::purgeInstance();
}

void CCDirector::destroyInstance() {
    purgeInstance();
    // Services may exist without a director (tools, tests): they go all the same.
    CCSharedRegistry::releaseAll(kReleasedWithDirectorPurge);
    CCSharedRegistry::releaseAll(kReleasedWithEngine);
    CCGestureRecognizer::resetClock();
}

bool CCDirector::init() {
    m_animationInterval = m_oldAnimationInterval = 1.0 / 60.0;
    m_currentCursor = kCursorNone;
    m_systemCursorShown = false;
    m_runningScene = m_nextScene = nullptr;
    m_scenesStack = new CCMutableArray<CCScene*>(10);
    m_projection = kProjection3D;
    wideScreen = 0;
    m_displayFPS = false;
    m_accumDt = m_frameRate = 0.0f;
    m_totalFrames = m_framesSinceRate = 0;
    m_lastUpdate = CCTimeVal{};
    m_paused = false;
    m_purgeRequested = false;
    m_purged = false;
    m_winSizeInPoints = m_winSizeInPixels = CCSize();
    m_contentScaleFactor = 1.0f;
    m_orientation = kCCOrientationPortrait;
    m_openGLView = nullptr;
    m_contentScaleApplied = m_doubleScale = false;
    CCAutoreleasePoolStack::getInstance().push();
    return true;
}

CCDirector::~CCDirector() {
    releaseEverything();
}

void CCDirector::releaseEverything() {
    releaseCursorPictures();
    releaseFrameRateLabel();
    std::vector<CCView*> overlays;
    overlays.swap(m_overlayViews);
    for (CCView* view : overlays) {
        if (view->isRunning()) view->onExit();
        view->release();
    }
    if (m_openGLView) {
        CCEGLView* view = m_openGLView;
        m_openGLView = nullptr;
        delete view;
    }
    if (m_runningScene) {
        m_runningScene->release();
        m_runningScene = nullptr;
    }
    m_nextScene = nullptr;
    if (m_scenesStack) {
        m_scenesStack->release();
        m_scenesStack = nullptr;
        // The director's own pool goes with it.
        CCAutoreleasePoolStack::getInstance().pop();
    }
}

// --- the frame -----------------------------------------------------------------------------

void CCDisplayLinkDirector::mainLoop() {
    if (m_purgeRequested) {
        purgeDirector();
        m_purgeRequested = false;
        return;
    }
    if (m_invalid) return;
    CCGestureRecognizer::advanceClock();
    CCNotificationCenter::getInstance()->flushPendingRemovals();
    drawScene();
    CCAutoreleasePoolStack::getInstance().pop();
}

void CCDirector::calculateDeltaTime() {
    CCTimeVal now;
    getTimeOfDay(&now);
    float delta = secondsBetween(m_lastUpdate, now);
    // A clock that steps backwards gives a still frame, never a negative step.
    if (!(delta > 0.0f)) delta = 0.0f;
    m_frameDelta = delta;
    m_lastUpdate = now;
}

void CCDirector::drawScene() {
    calculateDeltaTime();
    if (!m_paused) CCScheduler::getInstance()->tick(m_frameDelta);
    dispatchQueuedInput();
    if (!m_drawsScene) {
        if (m_nextScene) setNextScene();
        ++m_totalFrames;
        if (m_openGLView) m_openGLView->swapBuffers();
        return;
    }

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (m_nextScene) setNextScene();

    glPushMatrix();
    applyOrientation();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);

    if (m_runningScene) m_runningScene->visit();
    // A view's draw may add or remove overlays: visit the ones present when drawing began.
    // Each is held for its visit, so one removed meanwhile is not freed under the walk.
    const std::vector<CCView*> overlays = m_overlayViews;
    for (CCView* view : overlays)
        view->retain();
    for (CCView* view : overlays)
        view->visit();
    for (CCView* view : overlays)
        view->release();
    if (m_displayFPS) showFrameRate();

    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();

    if (m_currentCursor >= 0 && !m_systemCursorShown) drawCursor();

    ++m_totalFrames;
    if (m_openGLView) m_openGLView->swapBuffers();
}

void CCDirector::dispatchQueuedInput() {
    if (m_openGLView) m_openGLView->dispatchQueuedTouches();
    // Observers may queue further codes while these are posted; those wait for the next frame.
    std::vector<unsigned> codes;
    codes.swap(m_keyCodes);
    for (unsigned code : codes) {
        CCString* name = ccKeyName(code);
        if (!name) continue;
        // The key's name goes as the object, which the game's observers read, and as user info.
        CCNotificationCenter::getInstance()->postNotification(ccEventKeyPress(), name, name);
        CCKeypadDispatcher::getInstance()->dispatchKeyCode(static_cast<int>(code));
    }
}

void CCDirector::showFrameRate() {
    ++m_framesSinceRate;
    m_accumDt += m_frameDelta;
    if (m_accumDt > 0.1f) {
        m_frameRate = static_cast<float>(m_framesSinceRate) / m_accumDt;
        m_framesSinceRate = 0;
        m_accumDt = 0.0f;
        char text[16];
        std::snprintf(text, sizeof(text), "%.1f", static_cast<double>(m_frameRate));
        m_frameRateText = text;
        if (m_frameRateLabel) m_frameRateLabel->setString(text);
    }
    // Drawn in window coordinates: the label's own position and transform are not applied.
    if (m_frameRateLabel) m_frameRateLabel->draw();
}

void CCDirector::makeFrameRateLabel() {
    releaseFrameRateLabel();
    m_frameRateLabel = CCLabelTTF::createWithString("00.0", "Arial", 24.0f);
    if (m_frameRateLabel) {
        m_frameRateLabel->retain();
    } else {
        logDebugMessage("CCDirector: the frame-rate label could not be made");
    }
}

void CCDirector::releaseFrameRateLabel() {
    if (!m_frameRateLabel) return;
    m_frameRateLabel->release();
    m_frameRateLabel = nullptr;
}

void CCDirector::applyOrientation() {
    applyOrientationTransform(m_orientation, m_winSizeInPixels);
}

void CCDirector::applyOrientationTransform(int orientation, const CCSize& sizeInPixels) {
    const CCOrientationTransform& transform = CCOrientationTransform::of(orientation);
    if (transform.degrees == 0.0f) return;
    const CCSize centre(sizeInPixels.width / 2.0f, sizeInPixels.height / 2.0f);
    const CCSize back = transform.orient(centre);
    glTranslatef(centre.width, centre.height, 0.0f);
    glRotatef(transform.degrees, 0.0f, 0.0f, 1.0f);
    glTranslatef(-back.width, -back.height, 0.0f);
}

// --- scenes --------------------------------------------------------------------------------

void CCDirector::runWithScene(CCScene* scene) {
    if (!scene) {
        logDebugMessage("CCDirector::runWithScene: null scene ignored");
        return;
    }
    pushScene(scene);
    startAnimation();
}

void CCDirector::pushScene(CCScene* scene) {
    if (!scene) {
        logDebugMessage("CCDirector::pushScene: null scene ignored");
        return;
    }
    m_sendCleanupToScene = false;
    m_scenesStack->addObject(scene);
    m_nextScene = scene;
}

void CCDirector::replaceScene(CCScene* scene) {
    if (!scene) {
        logDebugMessage("CCDirector::replaceScene: null scene ignored");
        return;
    }
    const unsigned count = m_scenesStack->count();
    if (count == 0) {
        logDebugMessage("CCDirector::replaceScene: no scene is running; use runWithScene first");
        return;
    }
    m_sendCleanupToScene = true;
    m_scenesStack->replaceObjectAtIndex(scene, count - 1);
    m_nextScene = scene;
}

void CCDirector::setNextScene() {
    CCScene* incoming = m_nextScene;
    CCScene* outgoing = m_runningScene;
    const bool incomingIsTransition = incoming->isTransition();
    const bool outgoingWasTransition = outgoing && outgoing->isTransition();

    // Keep the incoming scene alive while the outgoing one is exited: it may be released by
    // the stack replacement before this switch.
    incoming->retain();
    if (!incomingIsTransition && outgoing) {
        outgoing->onExit();
        if (m_sendCleanupToScene) outgoing->cleanup();
    }
    if (outgoing) outgoing->release();
    m_runningScene = incoming;
    m_nextScene = nullptr;
    if (!outgoingWasTransition) {
        m_runningScene->onEnter();
        m_runningScene->onEnterTransitionDidFinish();
    }
}

// --- pause and animation -----------------------------------------------------------------

void CCDirector::pause() {
    if (m_paused) return;
    m_oldAnimationInterval = m_animationInterval;
    setAnimationInterval(0.25);
    m_paused = true;
    CCNotificationCenter::getInstance()->postNotification(ccEventPauseGame());
}

void CCDirector::resume() {
    if (!m_paused) return;
    setAnimationInterval(m_oldAnimationInterval);
    getTimeOfDay(&m_lastUpdate);
    m_frameDelta = 0.0f;
    m_paused = false;
    CCNotificationCenter::getInstance()->postNotification(ccEventResumeGame());
}

void CCDisplayLinkDirector::setAnimationInterval(double seconds) {
    m_animationInterval = seconds;
    if (!m_invalid) {
        stopAnimation();
        startAnimation();
    }
}

void CCDisplayLinkDirector::stopAnimation() {
    m_invalid = true;
}

void CCDisplayLinkDirector::startAnimation() {
    m_invalid = false;
    getTimeOfDay(&m_lastUpdate);
    if (CCApplication* app = CCApplication::getSharedApplication())
        app->setAnimationInterval(m_animationInterval);
}

// --- purge -------------------------------------------------------------------------------

void CCDirector::purgeDirector() {
    if (CCTouchDispatcher* touches = CCTouchDispatcher::getInstance()) touches->removeAllDelegates();
    if (m_runningScene) {
        m_runningScene->onExit();
        m_runningScene->cleanup();
        m_runningScene->release();
        m_runningScene = nullptr;
    }
    m_nextScene = nullptr;
    if (m_scenesStack) m_scenesStack->removeAllObjects();
    stopAnimation();
    releaseFrameRateLabel();

    // Newest first: the action manager before the scheduler it is registered with.
    CCSharedRegistry::releaseAll(kReleasedWithDirectorPurge);

    if (m_openGLView) {
        CCEGLView* view = m_openGLView;
        m_openGLView = nullptr;
        view->destroyWindowAndContext();
        delete view;
    } else if (CCApplication* app = CCApplication::getSharedApplication()) {
        // Without a window there is nothing whose closing ends the run loop: end it here.
        app->postQuitMessage(0);
    }
    m_purged = true;
}

// --- projection and sizes ------------------------------------------------------------------

void CCDirector::setOpenGLView(CCEGLView* view) {
    if (view == m_openGLView) return;
    delete m_openGLView;
    m_openGLView = view;
    if (!view) return;
    const CCSize frame = view->getSize();
    m_winSizeInPoints = frame;
    m_winSizeInPixels = CCSize(frame.width * m_contentScaleFactor, frame.height * m_contentScaleFactor);
    setGLDefaultValues();
    if (m_contentScaleFactor != 1.0f) {
        view->setFrameZoom(m_contentScaleFactor);
        m_contentScaleApplied = true;
    }
    CCTouchDispatcher* touches = CCTouchDispatcher::getInstance();
    view->setTouchDelegate(touches);
    touches->setDispatchEvents(true);
    if (CCGLWindow* window = view->getWindow()) window->setSystemCursorVisible(false);
    if (view->hasGLContext()) loadCursorPictures();
    m_currentCursor = kCursorPoint;
    m_systemCursorShown = false;
}

// --- software cursor -------------------------------------------------------------------------

void CCDirector::loadCursorPictures() {
    static const char* const kFiles[kCursorCount] = {
        "open.png", "open_grab.png", "pinch.png", "pinch_released.png", "point.png", "point_pressed.png"};
    releaseCursorPictures();
    for (int i = 0; i < kCursorCount; ++i) {
        // A missing or broken picture leaves its slot empty: that cursor is simply not drawn.
        CCResourceIndex* index = CCResourceIndex::getInstance();
        if (!index->containsFileName(kFiles[i])) continue;
        const std::string path = index->pathForFileName(kFiles[i]);
        CCFileBuffer file(path.c_str(), "rb");
        if (!file.data) continue;
        CCDecodedImage image;
        if (!image.initWithPngData(file.data, file.size)) continue;
        auto* texture = new CCTexture2D();
        if (!texture->initWithImage(&image)) {
            texture->release();
            continue;
        }
        m_cursorPictures[i] = texture;
    }
}

void CCDirector::releaseCursorPictures() {
    for (CCTexture2D*& picture : m_cursorPictures) {
        if (picture) picture->release();
        picture = nullptr;
    }
}

CCTexture2D* CCDirector::getCursorPicture(int cursor) const {
    return cursor >= 0 && cursor < kCursorCount ? m_cursorPictures[cursor] : nullptr;
}

void CCDirector::drawCursor() {
    CCTexture2D* picture = getCursorPicture(m_currentCursor);
    if (!picture || !m_openGLView || !m_openGLView->hasGLContext()) return;
    int right = 0, bottom = 0;
    m_openGLView->getWindow()->getDesktopSize(right, bottom);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Screen pixels with y growing downwards, like the mouse position.
    glOrtho(0, right, bottom, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glViewport(0, 0, right, bottom);
    glPushAttrib(GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture->getName());

    const CCSize size = picture->getContentSize();
    const float x = static_cast<float>(m_mouseX) - size.width / 2.0f;
    const float y = static_cast<float>(m_mouseY) + 7.0f - size.height / 2.0f;
    const float s = picture->getMaxS();
    const float t = picture->getMaxT();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x, y);
    glTexCoord2f(0.0f, t);
    glVertex2f(x, y + size.height);
    glTexCoord2f(s, t);
    glVertex2f(x + size.width, y + size.height);
    glTexCoord2f(s, 0.0f);
    glVertex2f(x + size.width, y);
    glEnd();

    glEnable(GL_DEPTH_TEST);
    glPopAttrib();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void CCDirector::setGLDefaultValues() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    setProjection(m_projection);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    if (!m_frameRateLabel) makeFrameRateLabel();
}

void CCDirector::applyViewport(float w, float h) {
    if (m_openGLView) {
        m_openGLView->setViewPortInPoints(0.0f, 0.0f, w, h);
    } else {
        glViewport(0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h));
    }
}

void CCDirector::setProjection(Projection kind) {
    const float w = m_winSizeInPixels.width;
    const float h = m_winSizeInPixels.height;
    switch (kind) {
    case kProjection2D:
        applyViewport(w, h);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, w, 0, h, -1024.0 * m_contentScaleFactor, 1024.0 * m_contentScaleFactor);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        break;
    case kProjection3D:
        applyViewport(w, h);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, h != 0.0f ? w / h : 1.0, 0.5, 1500.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(w / 2.0, h / 2.0, getZEye(), w / 2.0, h / 2.0, 0.0, 0.0, 1.0, 0.0);
        break;
    default:
        break;
    }
    m_projection = kind;
}

void CCDirector::updateOrientation() {
    CCApplication* app = CCApplication::getSharedApplication();
    CCOrientation code = m_orientation;
    if (app) {
        code = app->syncOrientationWithView();
    } else if (m_openGLView) {
        code = m_openGLView->syncOrientation();
    }
    if (code != m_orientation) {
        m_orientation = code;
        return;
    }
    if (m_openGLView) {
        m_winSizeInPoints = m_openGLView->getSize();
        m_winSizeInPixels = CCSize(m_winSizeInPoints.width * m_contentScaleFactor,
                                   m_winSizeInPoints.height * m_contentScaleFactor);
    }
    setProjection(m_projection);
}

void CCDirector::setContentScaleFactor(float factor) {
    if (factor == m_contentScaleFactor) return;
    m_contentScaleFactor = factor;
    m_winSizeInPixels = CCSize(m_winSizeInPoints.width * factor, m_winSizeInPoints.height * factor);
    if (m_openGLView) {
        m_openGLView->setFrameZoom(factor);
        m_contentScaleApplied = true;
    }
    setProjection(m_projection);
}

bool CCDirector::enableDoubleContentScale() {
    if (m_contentScaleFactor == 2.0f) return true;
    setContentScaleFactor(2.0f);
    CCSharedRegistry::releaseAll(kReleasedOnContentScaleChange);
    // The label's texture was rendered at the old scale.
    if (m_frameRateLabel) makeFrameRateLabel();
    m_doubleScale = m_contentScaleFactor == 2.0f;
    return true;
}

void CCDirector::setWinSizeInPoints(const CCSize& size) {
    m_winSizeInPoints = size;
    m_winSizeInPixels = CCSize(size.width * m_contentScaleFactor, size.height * m_contentScaleFactor);
}

CCSize CCDirector::getWinSize() const {
    return CCOrientationTransform::of(m_orientation).orient(m_winSizeInPoints);
}

CCSize CCDirector::getWinSizeInPixels() const {
    const CCSize s = getWinSize();
    return CCSize(s.width * m_contentScaleFactor, s.height * m_contentScaleFactor);
}

CCPoint CCDirector::convertToGL(const CCPoint& p) const {
    return CCOrientationTransform::of(m_orientation).toGL(p, m_winSizeInPoints);
}

CCPoint CCDirector::convertToUI(const CCPoint& p) const {
    return CCOrientationTransform::of(m_orientation).toUI(p, m_winSizeInPoints);
}

CCPoint CCDirector::convertDeltaToGL(const CCPoint& d) const {
    return CCOrientationTransform::of(m_orientation).deltaToGL(d);
}

float CCDirector::getZEye() const {
    return m_winSizeInPixels.height / 1.1566f;
}

// --- cursor --------------------------------------------------------------------------------

void CCDirector::setCursor(int state) {
    switch (state) {
    case kCursorStateOpen:
    case kCursorStateOpenGrab:
    case kCursorStatePinch:
    case kCursorStatePinchReleased:
    case kCursorStatePoint:
        // The first five states are numbered as the pictures.
        m_currentCursor = static_cast<Cursor>(state);
        setSystemCursorShown(false);
        break;
    case kCursorStateButtonReleased:
        if (!m_systemCursorShown) m_currentCursor = kCursorPoint;
        break;
    case kCursorStateButtonPressed:
        if (!m_systemCursorShown) m_currentCursor = kCursorPointPressed;
        break;
    case kCursorStateHidden:
        m_currentCursor = kCursorNone;
        setSystemCursorShown(false);
        break;
    case kCursorStateSystem:
        setSystemCursorShown(true);
        break;
    default:
        break;
    }
}

void CCDirector::setCursorImage(Cursor cursor) {
    m_currentCursor = cursor >= kCursorOpen && cursor < kCursorCount ? cursor : kCursorNone;
    setSystemCursorShown(false);
}

void CCDirector::setSystemCursorShown(bool shown) {
    if (shown == m_systemCursorShown) return;
    m_systemCursorShown = shown;
    CCGLWindow* window = m_openGLView != nullptr ? m_openGLView->getWindow() : nullptr;
    if (window) window->setSystemCursorVisible(shown);
}

void CCDirector::addOverlayView(CCView* view) {
    if (view == nullptr) {
        logDebugMessage("CCDirector: refusing a null overlay view");
        return;
    }
    view->retain();
    m_overlayViews.push_back(view);
    view->onEnter();
    view->onEnterTransitionDidFinish();
}

void CCDirector::removeOverlayView(CCView* view) {
    auto found = std::find(m_overlayViews.begin(), m_overlayViews.end(), view);
    if (found == m_overlayViews.end()) return;
    m_overlayViews.erase(found);
    view->onExit();
    view->release();
}

int CCDirector::overlayViewIdAtPoint(const CCPoint& glPoint) const {
    for (auto it = m_overlayViews.rbegin(); it != m_overlayViews.rend(); ++it) {
        CCView* view = *it;
        if (!view->isRunning()) continue;
        // Node transforms work in pixels; the point is in points.
        const CCSize size = view->getContentSizeInPixels();
        const CCRect pixels =
            applyAffineTransformToRect(CCRect(0, 0, size.width, size.height), view->nodeToWorldTransform());
        const float toPoints = 1.0f / m_contentScaleFactor;
        const CCRect box(pixels.origin.x * toPoints, pixels.origin.y * toPoints, pixels.size.width * toPoints,
                         pixels.size.height * toPoints);
        if (rectContainsPoint(box, glPoint)) return view->getViewId();
    }
    return 0;
}

} // namespace kvengine
