/* Preloaded into the game by Tools/benchmark.py to time its frames from
 * outside. Before each buffer swap it reads one pixel of the frame about to
 * be shown, left of the label of "Start game" (tinted blue), until the menu
 * appears; from then on it counts the swaps. After FRAMEPROBE_FRAMES more
 * frames it writes "<first menu frame> <frames> <their seconds>" to the file
 * FRAMEPROBE_OUTPUT, the first as seconds of CLOCK_MONOTONIC.
 *
 * With FRAMEPROBE_SCENE=battle it waits for the menu and then for the first
 * frame without it (the battle, once the benchmark clicked "Battle"), lets
 * FRAMEPROBE_WARMUP frames pass while the battle's objects join, and then
 * counts; the report's first time is that of the first battle frame. */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double Now(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

static int ShowsMenu(void)
{
    GLint viewport[4];
    unsigned char rgb[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int x = viewport[2] / 2 - 85;
    const int yFromTop = viewport[3] / 2 - 40;
    glReadPixels(x, viewport[3] - 1 - yFromTop, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[2] > rgb[0] + 40 && rgb[2] > rgb[1] + 40;
}

static void Report(double first, long frames, double seconds)
{
    const char* const name = getenv("FRAMEPROBE_OUTPUT");
    FILE* const file = name ? fopen(name, "w") : NULL;
    if (!file)
        return;
    fprintf(file, "%.6f %ld %.6f\n", first, frames, seconds);
    fclose(file);
}

static long Number(const char* name, long fallback)
{
    const char* const value = getenv(name);
    return value ? atol(value) : fallback;
}

/* Whether the frame about to be shown is the first of the scene measured. */
static int SceneBegins(int battle)
{
    static int menuSeen;
    const int menu = ShowsMenu();
    if (!battle)
        return menu;
    if (menu)
        menuSeen = 1;
    return menuSeen && !menu;
}

void SDL_GL_SwapBuffers(void)
{
    static void (*swap)(void);
    static int battle;
    static int begun;
    static double first;
    static double counting;
    static long warmup;
    static long skipped;
    static long wanted;
    static long frames;
    if (!swap)
    {
        swap = (void (*)(void))dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
        wanted = Number("FRAMEPROBE_FRAMES", 500);
        const char* const scene = getenv("FRAMEPROBE_SCENE");
        battle = scene && scene[0] == 'b';
        warmup = battle ? Number("FRAMEPROBE_WARMUP", 200) : 0;
    }
    if (!begun)
    {
        begun = SceneBegins(battle);
        first = counting = Now();
    }
    else if (skipped < warmup)
    {
        if (++skipped == warmup)
            counting = Now();
    }
    else if (frames < wanted && ++frames == wanted)
        Report(first, frames, Now() - counting);
    swap();
}
