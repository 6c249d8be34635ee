/* Preloaded into the game by Tools/benchmark.py to time its frames from
 * outside. Before each buffer swap it reads pixels of the frame about to be
 * shown. It waits for the menu (the pixel left of the label of "Start game"
 * is tinted blue), counts FRAMEPROBE_FRAMES frames and writes the line
 * "<first frame> <frames> <their seconds>" to the file FRAMEPROBE_OUTPUT, the
 * first as seconds of CLOCK_MONOTONIC. Then it waits for the game mode that
 * the benchmark opens from the menu: the first drawn frame that is not the
 * menu (a state still loading draws none); it lets WARM_UP frames pass while
 * the mode's objects join, counts FRAMEPROBE_FRAMES more and appends a second
 * such line, whose first time is that of the mode's first frame. */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

enum
{
    WARM_UP = 200
};

static double Now(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

static void ReadPixel(int x, int yFromTop, unsigned char rgb[4])
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glReadPixels(x, viewport[3] - 1 - yFromTop, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

static int ShowsMenu(void)
{
    GLint viewport[4];
    unsigned char rgb[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    ReadPixel(viewport[2] / 2 - 85, viewport[3] / 2 - 40, rgb);
    return rgb[2] > rgb[0] + 40 && rgb[2] > rgb[1] + 40;
}

/* A frame with something drawn: some pixel of a coarse grid is not dark. */
static int ShowsGameMode(void)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (ShowsMenu())
        return 0;
    for (int y = 0; y < viewport[3]; y += 8)
    {
        for (int x = 0; x < viewport[2]; x += 8)
        {
            unsigned char rgb[4] = {0, 0, 0, 0};
            ReadPixel(x, y, rgb);
            if (rgb[0] > 60 || rgb[1] > 60 || rgb[2] > 60)
                return 1;
        }
    }
    return 0;
}

static void Report(double first, long frames, double seconds)
{
    const char* const name = getenv("FRAMEPROBE_OUTPUT");
    FILE* const file = name ? fopen(name, "a") : NULL;
    if (!file)
        return;
    fprintf(file, "%.6f %ld %.6f\n", first, frames, seconds);
    fclose(file);
}

/* The two scenes timed, in order, and the frames of each left untimed. */
static int (*const Scenes[])(void) = {ShowsMenu, ShowsGameMode};
static const long Warmups[] = {0, WARM_UP};
enum
{
    SCENES = sizeof Scenes / sizeof Scenes[0]
};

void SDL_GL_SwapBuffers(void)
{
    static void (*swap)(void);
    static long wanted;
    static unsigned scene;
    static int waiting = 1;
    static long skipped, counted;
    static double first, counting;
    if (!swap)
    {
        swap = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
        const char* const count = getenv("FRAMEPROBE_FRAMES");
        wanted = count ? atol(count) : 500;
    }
    if (scene < SCENES)
    {
        if (waiting && Scenes[scene]())
        {
            waiting = 0;
            skipped = counted = 0;
            first = Now();
        }
        if (!waiting)
        {
            if (skipped < Warmups[scene])
                ++skipped;
            else if (counted++ == 0)
                counting = Now();
            else if (counted == wanted + 1)
            {
                Report(first, wanted, Now() - counting);
                ++scene;
                waiting = 1;
            }
        }
    }
    swap();
}
