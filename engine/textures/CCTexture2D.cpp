#include "engine/textures/CCTexture2D.h"

#include "engine/base/CCLog.h"
#include "engine/director/CCConfiguration.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCDecodedImage.h"
#include "engine/textures/CCTexturePVR.h"

#include <vector>

namespace kvengine {

namespace {

int g_defaultAlphaPixelFormat = kCCPixelFormatRGBA8888;
int g_maxTextureSizeOverride = 0;

struct GLUpload {
    GLenum format;
    GLenum type;
};

bool uploadFormatOf(int format, GLUpload* out) {
    switch (format) {
    case kCCPixelFormatRGBA8888:
        *out = {GL_RGBA, GL_UNSIGNED_BYTE};
        return true;
    case kCCPixelFormatRGB888:
        *out = {GL_RGB, GL_UNSIGNED_BYTE};
        return true;
    case kCCPixelFormatRGB565:
        *out = {GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
        return true;
    case kCCPixelFormatA8:
        *out = {GL_ALPHA, GL_UNSIGNED_BYTE};
        return true;
    case kCCPixelFormatI8:
        *out = {GL_LUMINANCE, GL_UNSIGNED_BYTE};
        return true;
    case kCCPixelFormatAI88:
        *out = {GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE};
        return true;
    case kCCPixelFormatRGBA4444:
        *out = {GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4};
        return true;
    case kCCPixelFormatRGB5A1:
        *out = {GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1};
        return true;
    default:
        return false;
    }
}

// Text alignment of labels (0 left, 1 centre, else right) as the renderer's code, always
// vertically centred.
int rendererAlignment(int alignment) {
    if (alignment == 1) return 0x33;
    if (alignment == 0) return 0x31;
    return 0x32;
}

} // namespace

CCTexture2D::~CCTexture2D() {
    deleteName();
}

void CCTexture2D::deleteName() {
    if (m_name != 0) {
        GLuint name = m_name;
        glDeleteTextures(1, &name);
        m_name = 0;
    }
}

void CCTexture2D::setDefaultAlphaPixelFormat(int format) {
    g_defaultAlphaPixelFormat = format;
}
int CCTexture2D::defaultAlphaPixelFormat() {
    return g_defaultAlphaPixelFormat;
}

void CCTexture2D::setMaxTextureSizeOverride(int size) {
    g_maxTextureSizeOverride = size > 0 ? size : 0;
}

int CCTexture2D::getMaxTextureSize() {
    if (g_maxTextureSizeOverride > 0) return g_maxTextureSizeOverride;
    return CCConfiguration::getInstance()->getMaxTextureSize();
}

bool CCTexture2D::initWithData(const void* data, int format, uint32_t pixelsWide, uint32_t pixelsHigh,
                               const CCSize& contentSizeInPixels) {
    GLUpload upload{};
    if (!uploadFormatOf(format, &upload)) {
        logDebugMessage("texture: unknown pixel format %d", format);
        return false;
    }
    const uint32_t maxSize = uint32_t(getMaxTextureSize() > 0 ? getMaxTextureSize() : 0);
    if (pixelsWide == 0 || pixelsHigh == 0 || pixelsWide > maxSize || pixelsHigh > maxSize) {
        logDebugMessage("texture: %u x %u texels refused (maximum %u)", pixelsWide, pixelsHigh, maxSize);
        return false;
    }
    deleteName();
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
        // Errors left by earlier code must not be taken for ours.
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint name = 0;
    glGenTextures(1, &name);
    m_name = name;
    glBindTexture(GL_TEXTURE_2D, name);
    setTexParameters(GL_LINEAR, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(upload.format), GLsizei(pixelsWide), GLsizei(pixelsHigh), 0,
                 upload.format, upload.type, data);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        logDebugMessage("texture: upload of %u x %u texels failed (GL error 0x%x)", pixelsWide, pixelsHigh,
                        unsigned(error));
        deleteName();
        return false;
    }
    m_contentSizeInPixels = contentSizeInPixels;
    m_pixelsWide = pixelsWide;
    m_pixelsHigh = pixelsHigh;
    m_pixelFormat = format;
    m_maxS = contentSizeInPixels.width / float(pixelsWide);
    m_maxT = contentSizeInPixels.height / float(pixelsHigh);
    m_premultipliedAlpha = false;
    m_markedOpaque = false;
    return true;
}

// Pictures drawn with an alpha channel are often opaque all over (backgrounds, the splash):
// those can be drawn without blending, which costs a read of every covered pixel.
static bool alphaIsOpaqueEverywhere(const CCDecodedImage& image) {
    const size_t count = size_t(image.width) * image.height;
    if (image.pixels.size() < count * 4) return false;
    const unsigned char* alpha = image.pixels.data() + 3;
    unsigned char all = 255;
    for (size_t i = 0; i < count; ++i)
        all &= alpha[i * 4];
    return all == 255;
}

bool CCTexture2D::initWithImage(const CCDecodedImage* image) {
    if (image == nullptr || image->width == 0 || image->height == 0) {
        logDebugMessage("texture: no picture to make a texture of");
        return false;
    }
    const uint32_t maxSize = uint32_t(getMaxTextureSize() > 0 ? getMaxTextureSize() : 0);
    const uint32_t potHigh = nextPowerOfTwo(image->height);
    const uint32_t potWide = nextPowerOfTwo(image->width);
    if (potHigh == 0 || potHigh > maxSize || potWide == 0 || potWide > maxSize) {
        logDebugMessage("texture: a %u x %u picture is larger than the maximum texture size %u", image->width,
                        image->height, maxSize);
        return false;
    }
    int format = kCCPixelFormatRGB888;
    if (image->hasAlpha)
        format = g_defaultAlphaPixelFormat;
    else if (image->bitsPerComponent < 8)
        format = kCCPixelFormatRGB565;

    std::vector<unsigned char> texels;
    if (!convertImageToTexels(*image, format, potWide, potHigh, &texels)) {
        logDebugMessage("texture: a picture cannot be converted to pixel format %d", format);
        return false;
    }
    // A8 pictures keep their four bytes per texel and are recorded as such.
    if (format == kCCPixelFormatA8) format = kCCPixelFormatRGBA8888;
    if (!initWithData(texels.data(), format, potWide, potHigh,
                      CCSize(float(image->width), float(image->height)))) {
        return false;
    }
    m_premultipliedAlpha = image->premultipliedAlpha;
    m_markedOpaque = image->hasAlpha && alphaIsOpaqueEverywhere(*image);
    return true;
}

bool CCTexture2D::isOpaque() const {
    switch (m_pixelFormat) {
    case kCCPixelFormatRGB888:
    case kCCPixelFormatRGB565:
    case kCCPixelFormatI8:
        return true;
    default:
        return m_markedOpaque;
    }
}

// A text box the texture could never hold is refused before anything is drawn into it.
static bool textBoxFits(const CCSize& dimensions) {
    const float maxSize = float(CCTexture2D::getMaxTextureSize());
    if (dimensions.width > maxSize || dimensions.height > maxSize) {
        logDebugMessage("texture: a %.0f x %.0f text box is larger than the maximum texture size",
                        dimensions.width, dimensions.height);
        return false;
    }
    return true;
}

bool CCTexture2D::initWithString(const char* text, const char* fontName, float fontSize,
                                 const CCSize& dimensions, int alignment) {
    if (!textBoxFits(dimensions)) return false;
    CCDecodedImage image;
    if (!image.initWithString(text, int(dimensions.width), int(dimensions.height),
                              rendererAlignment(alignment), fontName, int(fontSize))) {
        return false;
    }
    return initWithImage(&image);
}

bool CCTexture2D::initWithString(const char* text, const char* fontName, float fontSize) {
    return initWithString(text, fontName, fontSize, CCSizeZero, 1);
}

bool CCTexture2D::initWithWideString(const char16_t* text, const char* fontName, float fontSize,
                                     const CCSize& dimensions, int alignment) {
    if (!textBoxFits(dimensions)) return false;
    CCDecodedImage image;
    if (!image.initWithWideString(text, int(dimensions.width), int(dimensions.height),
                                  rendererAlignment(alignment), fontName, int(fontSize))) {
        return false;
    }
    return initWithImage(&image);
}

bool CCTexture2D::initWithWideString(const char16_t* text, const char* fontName, float fontSize) {
    return initWithWideString(text, fontName, fontSize, CCSizeZero, 1);
}

bool CCTexture2D::initWithPVRFile(const char* fullPath) {
    CCTexturePVR* loader = new CCTexturePVR();
    if (!loader->initWithContentsOfFile(fullPath)) {
        loader->release();
        return false;
    }
    deleteName();
    // The GL texture changes hands: the loader must not delete it when it goes.
    loader->setRetainName(true);
    m_name = loader->getName();
    m_pixelsWide = loader->getWidth();
    m_pixelsHigh = loader->getHeight();
    m_contentSizeInPixels = CCSize(float(m_pixelsWide), float(m_pixelsHigh));
    m_pixelFormat = loader->getFormat();
    m_maxS = 1;
    m_maxT = 1;
    m_premultipliedAlpha = m_pvrPremultiplied;
    m_markedOpaque = false;
    setTexParameters(GL_LINEAR, GL_LINEAR);
    loader->release();
    return true;
}

CCSize CCTexture2D::getContentSize() const {
    const float scale = CCDirector::sharedContentScaleFactor();
    if (scale <= 0) return m_contentSizeInPixels;
    return CCSize(m_contentSizeInPixels.width / scale, m_contentSizeInPixels.height / scale);
}

void CCTexture2D::setTexParameters(int minFilter, int magFilter) {
    glBindTexture(GL_TEXTURE_2D, m_name);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLfloat(minFilter));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLfloat(magFilter));
}

void CCTexture2D::setAntiAliasTexParameters() {
    setTexParameters(GL_LINEAR, GL_LINEAR);
}
void CCTexture2D::setAliasTexParameters() {
    setTexParameters(GL_NEAREST, GL_LINEAR);
}

} // namespace kvengine
