// A real OpenGL context for the rendering tests: the console, a 1280 x 1024
// window and the renderer, started once per test program and stopped after the
// last test. Pixels are read back from the back buffer in top-left window
// coordinates.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "Engine/Color.h"
#include "Engine/TheConsole.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 1024;

inline bool& RenderingStarted()
{
    static bool started = false;
    return started;
}

inline void StartRenderingOnce()
{
    if (RenderingStarted()) return;
    RenderingStarted() = true;
    theConsole.Startup();
    theVideoSystem.SetDesiredDisplayMode(kWindowWidth, kWindowHeight, 32, 60, 0);
    theVideoSystem.Startup();
    theRenderer.Startup();
}

class RenderingShutdown : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (!RenderingStarted()) return;
        RenderingStarted() = false;
        theRenderer.Shutdown();
        theVideoSystem.Shutdown();
        theConsole.Shutdown();
    }
};
inline ::testing::Environment* const kRenderingShutdown = ::testing::AddGlobalTestEnvironment(new RenderingShutdown);

// Each test starts from a black window, the full viewport and the y-down pixel mapping.
class RenderingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartRenderingOnce(); }
    void SetUp() override
    {
        // Death tests start a fresh process rather than fork one with a GL driver's threads.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        theRenderer.ResetViewportAndScissor();
        theRenderer.SetPixelOrtho(false);
        theRenderer.Clear(Color::BLACK);
    }
};

// The whole back buffer, read once.
class Frame {
public:
    Frame() : _pixels(size_t(kWindowWidth) * kWindowHeight * 4)
    {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, kWindowWidth, kWindowHeight, GL_RGBA, GL_UNSIGNED_BYTE, _pixels.data());
    }
    // x from the left, y from the top.
    Color At(int x, int y) const
    {
        const uint8_t* p = &_pixels[(size_t(kWindowHeight - 1 - y) * kWindowWidth + x) * 4];
        return Color(p[0], p[1], p[2], p[3]);
    }
    const std::vector<uint8_t>& BottomUpRgba() const { return _pixels; }

private:
    std::vector<uint8_t> _pixels;
};

inline bool SameRgb(const Color& a, const Color& b, int tolerance = 2)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

inline ::std::ostream& operator<<(::std::ostream& out, const Color& c)
{
    return out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ", " << int(c.a) << ")";
}

// The rectangle of pixels (inclusive bounds) whose colour satisfies the test; empty when none does.
struct PixelBox {
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1, count = 0;
    bool Empty() const { return count == 0; }
};
template <typename Predicate>
PixelBox FindPixels(const Frame& frame, Predicate matches, int x0 = 0, int y0 = 0, int x1 = kWindowWidth - 1,
                    int y1 = kWindowHeight - 1)
{
    PixelBox box;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (matches(frame.At(x, y))) {
                box.minX = std::min(box.minX, x);
                box.maxX = std::max(box.maxX, x);
                box.minY = std::min(box.minY, y);
                box.maxY = std::max(box.maxY, y);
                ++box.count;
            }
    return box;
}

// What a block of drawing sends down the pipeline, captured in feedback mode instead of drawn.
struct Feedback {
    int lines = 0;                    // line segments
    int polygons = 0;                 // polygons (a quad may arrive as two triangles)
    std::vector<float> lineVertices;  // x, y of each segment's start
    // Glyphs drawn from the font's texture: one quad each, blanks none.
    int Glyphs() const;
};
template <typename Draw>
Feedback CaptureFeedback(Draw draw)
{
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    Feedback result;
    for (GLint i = 0; i < used;) {
        const GLint token = GLint(buffer[size_t(i++)]);
        switch (token) {
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
        case GL_POINT_TOKEN:
            i += 2;
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            ++result.lines;
            result.lineVertices.push_back(buffer[size_t(i)]);
            result.lineVertices.push_back(buffer[size_t(i + 1)]);
            i += 4;
            break;
        case GL_POLYGON_TOKEN: {
            ++result.polygons;
            const GLint vertices = GLint(buffer[size_t(i++)]);
            i += vertices * 2;
            break;
        }
        case GL_PASS_THROUGH_TOKEN:
            i += 1;
            break;
        default:
            i = used;
            break;
        }
    }
    return result;
}

// How many polygons feedback reports for one quad: a driver may split it into two triangles.
inline int PolygonsPerQuad()
{
    static const int count = [] {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        const Feedback one = CaptureFeedback([] {
            glBegin(GL_QUADS);
            glVertex2f(-0.5f, -0.5f);
            glVertex2f(0.5f, -0.5f);
            glVertex2f(0.5f, 0.5f);
            glVertex2f(-0.5f, 0.5f);
            glEnd();
        });
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        return one.polygons;
    }();
    return count;
}

inline int Feedback::Glyphs() const
{
    return polygons / PolygonsPerQuad();
}
