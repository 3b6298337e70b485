// GDI32 pixel formats and SwapBuffers, and WGL contexts, on SDL's OpenGL
// windows (GLX or EGL underneath; EGL + Mesa under the offscreen driver).
#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "PlatformInternal.h"

namespace {

// This file's part of the layer's state.
WglState& State()
{
    return Platform().wgl;
}

std::vector<PlatformContext*>& Contexts()
{
    return State().contexts;
}

// Pixel format 1 is the one format ChoosePixelFormat offers: RGBA, double-buffered,
// the colour, alpha, depth and stencil bits asked for.
const int THE_PIXEL_FORMAT = 1;

PlatformWindow* WindowOfDC(HDC hdc)
{
    if (hdc == nullptr) return nullptr;
    for (PlatformWindow* window : PlatformWindows()) {
        if (reinterpret_cast<HDC>(&window->dc) == hdc) return window;
    }
    return nullptr;
}

PlatformContext* FromHandle(HGLRC hglrc)
{
    for (PlatformContext* context : Contexts()) {
        if (reinterpret_cast<HGLRC>(context) == hglrc) return context;
    }
    return nullptr;
}

// What wglMakeCurrent(NULL, NULL) does: no context is current any more.
void ReleaseCurrentContext()
{
    if (State().current != nullptr) SDL_GL_MakeCurrent(State().currentWindow->sdl, nullptr);
    State().current = nullptr;
    State().currentWindow = nullptr;
}

void DeleteContext(PlatformContext* context)
{
    if (context == State().current) ReleaseCurrentContext();
    SDL_GL_DeleteContext(context->context);
    for (size_t i = 0; i < Contexts().size(); ++i) {
        if (Contexts()[i] == context) {
            Contexts().erase(Contexts().begin() + static_cast<long>(i));
            break;
        }
    }
    delete context;
}

// Whether a swap leaves the back buffer as it was. SDL's offscreen driver draws into one EGL
// pbuffer, which eglSwapBuffers leaves alone: a copying swap. GLX and EGL windows promise
// nothing of the kind (SDL asks for no EGL_SWAP_BEHAVIOR_PRESERVED), so they say nothing, as
// many Windows drivers do. PINWHIRL_BACK_BUFFER=discarded makes the offscreen driver one of
// those: it says nothing, and each swap leaves its back buffer a colour no frame draws.
bool IsBackBufferDiscarded()
{
    const char* value = getenv("PINWHIRL_BACK_BUFFER");
    return value != nullptr && strcmp(value, "discarded") == 0;
}

bool IsBackBufferKept(PlatformWindow* window)
{
    if (!window->glFormat.doubleBuffer || !PlatformIsHeadless()) return false;
    return !IsBackBufferDiscarded();
}

void DiscardBackBuffer()
{
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
}

}  // namespace

int WINAPI DescribePixelFormat(HDC hdc, int format, UINT bytes, LPPIXELFORMATDESCRIPTOR pfd)
{
    PlatformWindow* window = WindowOfDC(hdc);
    if (window == nullptr || format != THE_PIXEL_FORMAT) return 0;
    if (pfd == nullptr) return THE_PIXEL_FORMAT;
    if (bytes < sizeof(PIXELFORMATDESCRIPTOR)) return 0;
    const PlatformGlFormat& gl = window->glFormat;
    memset(pfd, 0, sizeof(PIXELFORMATDESCRIPTOR));
    pfd->nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd->nVersion = 1;
    pfd->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (gl.doubleBuffer) pfd->dwFlags |= PFD_DOUBLEBUFFER;
    if (IsBackBufferKept(window)) pfd->dwFlags |= PFD_SWAP_COPY;
    pfd->iPixelType = PFD_TYPE_RGBA;
    pfd->cColorBits = BYTE(gl.colorBits);
    pfd->cAlphaBits = BYTE(gl.alphaBits);
    pfd->cDepthBits = BYTE(gl.depthBits);
    pfd->cStencilBits = BYTE(gl.stencilBits);
    pfd->iLayerType = PFD_MAIN_PLANE;
    return THE_PIXEL_FORMAT;
}

int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* pfd)
{
    if (pfd == nullptr || WindowOfDC(hdc) == nullptr) return 0;
    if ((pfd->dwFlags & PFD_SUPPORT_OPENGL) == 0 || pfd->iPixelType != PFD_TYPE_RGBA) return 0;
    return THE_PIXEL_FORMAT;
}

BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* pfd)
{
    PlatformWindow* window = WindowOfDC(hdc);
    if (window == nullptr || format != THE_PIXEL_FORMAT || pfd == nullptr) return FALSE;
    // As on Windows a window's pixel format is set once.
    if (window->pixelFormat != 0) return window->pixelFormat == format ? TRUE : FALSE;
    PlatformGlFormat wanted;
    wanted.colorBits = pfd->cColorBits != 0 && pfd->cColorBits <= 16 ? 16 : 24;
    wanted.alphaBits = pfd->cAlphaBits;
    wanted.depthBits = pfd->cDepthBits;
    wanted.stencilBits = pfd->cStencilBits;
    wanted.doubleBuffer = (pfd->dwFlags & PFD_DOUBLEBUFFER) != 0;
    if (!PlatformWindowUseGlFormat(window, wanted)) return FALSE;
    window->pixelFormat = format;
    return TRUE;
}

SDL_GLContext PlatformCreateSdlContext(SDL_Window* sdl)
{
    // A compatibility profile keeps OpenGL 1.1 immediate mode, display lists and glBitmap.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GLContext context = SDL_GL_CreateContext(sdl);
    if (context == nullptr) {
        // Whatever the driver gives without a version request is a legacy context too.
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        context = SDL_GL_CreateContext(sdl);
    }
    if (context == nullptr) PlatformLog("Platform: SDL_GL_CreateContext failed: %s\n", SDL_GetError());
    return context;
}

void PlatformRestoreCurrentContext(PlatformWindow* window)
{
    if (State().current != nullptr) {
        SDL_GL_MakeCurrent(State().currentWindow->sdl, State().current->context);
    } else {
        SDL_GL_MakeCurrent(window->sdl, nullptr);
    }
}

HGLRC WINAPI wglCreateContext(HDC hdc)
{
    PlatformWindow* window = WindowOfDC(hdc);
    if (window == nullptr || window->sdl == nullptr) return nullptr;
    if (window->pixelFormat == 0) return nullptr;  // ERROR_INVALID_PIXEL_FORMAT

    SDL_GLContext context = PlatformCreateSdlContext(window->sdl);
    if (context == nullptr) return nullptr;
    // SDL makes the new context current; wglCreateContext does not.
    PlatformRestoreCurrentContext(window);
    PlatformContext* result = new PlatformContext;
    result->context = context;
    result->window = window;
    Contexts().push_back(result);
    return reinterpret_cast<HGLRC>(result);
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC hglrc)
{
    if (hglrc == nullptr) {
        ReleaseCurrentContext();
        return TRUE;
    }
    PlatformContext* context = FromHandle(hglrc);
    PlatformWindow* window = WindowOfDC(hdc);
    if (context == nullptr || window == nullptr || window->sdl == nullptr) return FALSE;
    if (window->pixelFormat == 0) return FALSE;
    if (SDL_GL_MakeCurrent(window->sdl, context->context) != 0) return FALSE;
    State().current = context;
    State().currentWindow = window;
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC hdc)
{
    PlatformWindow* window = WindowOfDC(hdc);
    if (window == nullptr || window->sdl == nullptr) return FALSE;
    PlatformScriptBeforeSwap(window);
    const bool drawing = PlatformIsContextCurrentOn(window);
    // A pbuffer's swap does nothing, so Mesa would queue every frame unfinished, and memory
    // would grow with each; the flush hands the frame over as a real swap does.
    if (drawing && PlatformIsHeadless()) glFlush();
    SDL_GL_SwapWindow(window->sdl);
    if (drawing && PlatformIsHeadless() && window->glFormat.doubleBuffer && IsBackBufferDiscarded())
        DiscardBackBuffer();
    PlatformClockFramePresented();
    PlatformScriptAfterSwap();
    return TRUE;
}

bool PlatformIsContextCurrentOn(PlatformWindow* window)
{
    return State().current != nullptr && State().currentWindow == window;
}

void PlatformDestroyContextsOf(PlatformWindow* window)
{
    if (State().currentWindow == window) ReleaseCurrentContext();
    const std::vector<PlatformContext*> contexts = Contexts();  // DeleteContext edits the list
    for (PlatformContext* context : contexts) {
        if (context->window == window) DeleteContext(context);
    }
}

void PlatformDestroyAllContexts()
{
    while (!Contexts().empty()) DeleteContext(Contexts().back());
}
