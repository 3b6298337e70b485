#include "Engine/Texture.h"

#include "Engine/TheRenderer.h"

#include "Engine/AssertionFailure.h"
#include "Engine/Image.h"

bool Texture::_isOpenGLReady = false;

Texture::Texture(const std::string& fileName)
{
    const Image image(fileName);
    _CreateFromImage(image);
}

Texture::Texture(const Image& image)
{
    _CreateFromImage(image);
}

Texture::~Texture()
{
    if (_glName <= 0) return;
    const GLuint name = GLuint(_glName);
    // GL unbinds a texture it deletes. The renderer must not go on believing it bound: a quad
    // with a texture made later under the same name would skip its bind.
    if (theRenderer.GetBoundTexture() == name) theRenderer.BindTexture(0, true);
    glDeleteTextures(1, &name);
}

void Texture::CheckSize(const Image& image)
{
    // The reported expression keeps its source spacing.
    // clang-format off
    FATAL_CHECK(IsAPowerOfTwo( image._width ),
                "ERROR: texture \"%s\" had a non-power-of-two width of %d; image width\n must be 8, 16, 32, 64, "
                "128, 256, 512, 1024, or 2048",
                image._fileName.c_str(), int(image._width));
    // clang-format on
    // The reported expression keeps its source spacing.
    // clang-format off
    FATAL_CHECK(IsAPowerOfTwo( image._height ),
                "ERROR: texture \"%s\" had a non-power-of-two height of %d; image height\n must be 8, 16, 32, 64, "
                "128, 256, 512, 1024, or 2048",
                image._fileName.c_str(), int(image._height));
    // clang-format on
    FATAL_CHECK((image._width >= 8) && (image._width <= 2048),
                "ERROR: texture \"%s\" had an illegal width of %d; must be 8, 16, 32, 64, 128, 256, 512, 1024, "
                "or 2048",
                image._fileName.c_str(), int(image._width));
    FATAL_CHECK((image._height >= 8) && (image._height <= 2048),
                "ERROR: texture \"%s\" had an illegal height of %d; must be 8, 16, 32, 64, 128, 256, 512, 1024, "
                "or 2048",
                image._fileName.c_str(), int(image._height));
}

void Texture::_CreateFromImage(const Image& image)
{
    FATAL_CHECK(_isOpenGLReady,
                "ERROR: tried to create texture from image \"%s\" before TheRenderer was initialized; make sure "
                "Texture objects do not get instantiated until PostInit()",
                image._fileName.c_str());
    CheckSize(image);

    _width = image._width;
    _height = image._height;
    _bytesPerPixel = image._bytesPerPixel;
    _glInternalFormat = image._glInternalFormat;

    // Rows of a 24-bit picture are not 4-byte aligned in the file.
    GLuint name = 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &name);
    // Bound through the renderer, so that its remembered name stays the one GL has bound:
    // otherwise the next quad with the texture bound before would skip its bind and show this one.
    theRenderer.BindTexture(name, true);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(_glInternalFormat), _width, _height, 0, image._glPixelFormat, GL_UNSIGNED_BYTE,
                 image._pixelData);
    _glName = int32_t(name);
}
