// The frame benchmark: builds the tower scenes in-process with the dummy
// video driver and times the tower screen's frame, piece by piece, against a
// bare clear-and-flip of the same window; also start-up, save, load and autosave, enlarging a frame for a scaled window, and
// peak memory; and the processor time that a second of play costs with and
// without the frame cap. Run from a directory holding config.xml and assets/ (the
// tools/bench.sh wrapper makes one), since a save writes save.txt there.
//
//   zentrova_bench [--json PATH] [--binary PATH] [--references DIR] [--runs N] [--cpu-seconds S] [--living-days D]
//   zentrova_bench --capture DIR     records the reference scene at each window size
//   zentrova_bench --grow DAYS       only grows the living tower by its stars, day by day
//   zentrova_bench --save-towers DIR writes the full tower and its living evening as saves
#include <SDL.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CSurface.h"
#include "allocationCount.h"
#include "framePacer.h"
#include "frameScenes.h"
#include "gEngine.h"
#include "gMenu.h"
#include "Clock.h"
#include "game.h"
#include "gui.h"
#include "Life.h"
#include "keyModifiers.h"
#include "livingTower.h"
#include "pixelScale.h"
#include "pngWriter.h"
#include "protocol.h"
#include "ticks.h"

namespace {

using Steady = std::chrono::steady_clock;

double msBetween(Steady::time_point from, Steady::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Size {
    int width;
    int height;
};
const Size sizes[] = {{800, 600}, {1920, 1080}};

struct Options {
    std::string json = "build-bench/results.json";
    std::string binary;
    std::string references;  // set: compare the reference scene with the recordings there
    std::string capture;     // set: write references there instead of timing
    int runs = 7;
    double runMs = 150;
    double cpuSeconds = 3;
    int livingDays = 90;
};

struct SceneFigures {
    std::string scene;
    Size size;
    double fps = 0;
    double frameMs = 0;
    double loopMs = 0;
    double renderMs = 0;
    double guiMs = 0;
    double flipMs = 0;
    double floorRatio = 0;
    double allocationsPerFrame = 0;
    std::string pixels;
    int people = 0;  // the living tower's; 0 for the classic one
    double hourFrameMs = 0;  // the living tower's frame with Ctrl held, an hour of its life
};

struct SizeFigures {
    Size size;
    double floorMs = 0;
    double floorFps = 0;
    std::string recorded = "not checked";  // the reference scene against its recording
};

FILE* table = stdout;  // the game's own progress lines go elsewhere

std::vector<std::string> requiredImages() {
    gEngine engine;
    engine.loadXMLSettings("config.xml");
    Game::setLife(false);  // the classic tower's frames unless a scene asks for people
    return engine.getRequiredFiles();
}

bool openWindow(Size size, const std::vector<std::string>& images) {
    if (images.size() < gEngine::requiredImageCount) {
        fputs("config.xml with the game's images is needed in the working directory\n", stderr);
        return false;
    }
    resolutionX = size.width;
    resolutionY = size.height;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;  // no timer thread, as in the game
    SDL_Surface* screen = SDL_SetVideoMode(size.width, size.height, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (!screen) return false;
    CSurface::setWindow(screen);
    return CSurface::loadSurfaces(images);
}

void closeWindow() {
    frame_scenes::endGame();
    CSurface::cleanUp();
    SDL_Quit();
}

// The machine's floor: filling the whole window and flipping it.
double clearAndFlipMs(const Options& options) {
    int frames = 50;
    const Steady::time_point probe = Steady::now();
    for (int i = 0; i < frames; ++i) {
        CSurface::clearScreen();
        CSurface::flip();
    }
    const double each = std::max(1e-4, msBetween(probe, Steady::now()) / frames);
    frames = std::max(50, static_cast<int>(options.runMs / each));
    std::vector<double> runs;
    for (int run = 0; run < options.runs; ++run) {
        const Steady::time_point start = Steady::now();
        for (int i = 0; i < frames; ++i) {
            CSurface::clearScreen();
            CSurface::flip();
        }
        runs.push_back(msBetween(start, Steady::now()) / frames);
    }
    return median(runs);
}

std::string sizeText(Size size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

std::string directoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string verdict(const frame_scenes::FrameDifference& difference) {
    return frame_scenes::same(difference) ? "identical" : "DIFFERS: " + frame_scenes::describe(difference);
}

// The tower screen's frame as gMap runs it: Loop (Game::loop, GUI::update),
// then Render (Game::render, GUI::show, the flip), with real time running.
// Living: the same tower with its people, at the busy morning hour.
SceneFigures timeScene(const Options& options, const frame_scenes::Scene& scene, Size size, double floorMs,
                       bool living = false) {
    SceneFigures figures;
    figures.scene = scene.name;
    figures.size = size;
    figures.pixels = verdict(frame_scenes::compareWithoutPictureCopies(scene));

    Game::setLife(living);
    frame_scenes::startGame(scene.fullTower, scene.night, scene.terraces);
    if (living) {
        frame_scenes::liveUntilBusyMorning();
        figures.people = static_cast<int>(Game::Instance()->getTower().getLife()->people().size());
    }
    const point camera = frame_scenes::viewScene(scene);
    // The living tower's clock stays on the frozen counter, moved on by the
    // real time each frame takes, so that its people walk and ride as in play.
    if (!living) ticks::thaw();
    Game* game = Game::Instance();
    GUI* gui = GUI::Instance();
    CSurface::clearScreen();

    double sums[4] = {0, 0, 0, 0};
    double owedMs = 0;
    Steady::time_point last = Steady::now();
    auto frame = [&]() {
        const Steady::time_point t0 = Steady::now();
        if (living) {
            owedMs += msBetween(last, t0);
            last = t0;
            const Uint32 whole = static_cast<Uint32>(owedMs);
            ticks::advance(whole);
            owedMs -= whole;
        }
        game->loop(camera.z);
        gui->update();
        const Steady::time_point t1 = Steady::now();
        game->render(camera);
        const Steady::time_point t2 = Steady::now();
        gui->show();
        const Steady::time_point t3 = Steady::now();
        CSurface::flip();
        const Steady::time_point t4 = Steady::now();
        sums[0] += msBetween(t0, t1);
        sums[1] += msBetween(t1, t2);
        sums[2] += msBetween(t2, t3);
        sums[3] += msBetween(t3, t4);
    };

    int frames = 20;
    const Steady::time_point probe = Steady::now();
    for (int i = 0; i < frames; ++i) frame();
    const double each = std::max(1e-3, msBetween(probe, Steady::now()) / frames);
    frames = std::max(20, static_cast<int>(options.runMs / each));

    std::vector<double> fps, loop, render, show, flip;
    for (std::vector<double>* figure : {&fps, &loop, &render, &show, &flip}) figure->reserve(options.runs);
    const unsigned long allocatedBefore = allocation_count::now();
    for (int run = 0; run < options.runs; ++run) {
        std::fill(sums, sums + 4, 0.0);
        const Steady::time_point start = Steady::now();
        for (int i = 0; i < frames; ++i) frame();
        const double elapsed = msBetween(start, Steady::now());
        fps.push_back(1000.0 * frames / elapsed);
        loop.push_back(sums[0] / frames);
        render.push_back(sums[1] / frames);
        show.push_back(sums[2] / frames);
        flip.push_back(sums[3] / frames);
    }
    figures.allocationsPerFrame =
        static_cast<double>(allocation_count::now() - allocatedBefore) / (frames * options.runs);
    figures.fps = median(fps);
    figures.frameMs = 1000.0 / figures.fps;
    figures.loopMs = median(loop);
    figures.renderMs = median(render);
    figures.guiMs = median(show);
    figures.flipMs = median(flip);
    figures.floorRatio = floorMs > 0 ? figures.frameMs / floorMs : 0;
    if (living) {
        // Ctrl held: every frame an hour of the clock, the people's bounded batch.
        keyModifiers::hold(KMOD_LCTRL);
        const int hours = 48;
        const Steady::time_point start = Steady::now();
        for (int i = 0; i < hours; ++i) {
            ticks::advance(1000);
            frame_scenes::drawFrame(camera, false);
        }
        figures.hourFrameMs = msBetween(start, Steady::now()) / hours;
        keyModifiers::release();
    }
    Game::setLife(false);
    return figures;
}

struct CpuFigures {
    std::string what;      // the tower and what moves in it
    Size size{0, 0};
    bool whole = false;    // every frame painted whole (-redraw all)
    int cap = 0;           // frames a second; 0 runs free
    double fps = 0;        // frames a second reached
    double coreShare = 0;  // processor time (user and system, every thread) per second of play
    double cpuMsPerFrame = 0;  // the same per frame: on a busy machine the free loop gets less than a core
    double sentMBps = 0;   // what the frames sent to the display, in MB a second
};

double seconds(const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; }

double processorSeconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The towers whose frames are timed: idle on storey 7, where nothing moves but
// the clock; on the ground, where the cars ride; and living, in its evening
// rush. The same as the end-to-end frame-cost script measures under Xvfb.
struct CpuCase {
    const char* what;
    bool living;
    short storey;
};
const CpuCase cpuCases[] = {
    {"idle classic tower", false, 6}, {"classic, cars moving", false, 0}, {"living, evening rush", true, 0}};

// A player's view, frame after frame as the tower screen paints them, paced
// as the engine's loop paces them.
CpuFigures cpuPerSecond(const CpuCase& what, Size size, bool whole, int cap, double playSeconds) {
    CpuFigures figures;
    figures.what = what.what;
    figures.size = size;
    figures.whole = whole;
    figures.cap = cap;
    Game::setLife(what.living);
    frame_scenes::startGame(true);
    if (what.living) frame_scenes::liveUntil(3, 17);
    frame_scenes::Scene scene = frame_scenes::all()[1];
    scene.storey = what.storey;
    frame_scenes::TowerPicture picture;
    picture.camera = frame_scenes::viewScene(scene);
    FramePainter painter(whole ? FramePainter::Mode::EVERYTHING : FramePainter::Mode::CHANGED);
    frame_scenes::paintFrame(painter, picture);
    // The game's time runs on from where the scene left it, as fast as real time.
    const Uint32 sceneTime = ticks::now();
    FramePacer pacer(cap);
    const double processorBefore = processorSeconds();
    const Steady::time_point start = Steady::now();
    int frames = 0;
    double elapsed = 0, pixels = 0;
    while (elapsed < playSeconds * 1000) {
        ticks::freeze(sceneTime + static_cast<Uint32>(elapsed));
        frame_scenes::paintFrame(painter, picture);
        pixels += static_cast<double>(painter.lastPixels());
        pacer.wait();
        ++frames;
        elapsed = msBetween(start, Steady::now());
    }
    figures.fps = 1000.0 * frames / elapsed;
    const double processorMs = (processorSeconds() - processorBefore) * 1000;
    figures.coreShare = processorMs / elapsed;
    figures.cpuMsPerFrame = processorMs / frames;
    figures.sentMBps = pixels * 4 / 1e6 / (elapsed / 1000);
    Game::setLife(false);
    return figures;
}

// The towers the end-to-end frame-cost script loads: the full tower, and the
// same tower living at its evening rush (the workers leaving, the guests
// coming), as save files in dir.
int saveTowers(const std::string& dir) {
    if (!openWindow(sizes[0], requiredImages())) return 1;
    frame_scenes::startGame(true);
    Game::Instance()->save();
    if (rename(Game::saveFileName, (dir + "/full-tower.txt").c_str()) != 0) return 1;
    Game::setLife(true);
    frame_scenes::startGame(true);
    frame_scenes::liveUntil(3, 17);
    Game::Instance()->save();
    Game::setLife(false);
    closeWindow();
    return rename(Game::saveFileName, (dir + "/living-evening.txt").c_str()) == 0 ? 0 : 1;
}

// In-process: the engine's Init and the first menu frame, as execute runs them.
double startUpMs() {
    const Steady::time_point start = Steady::now();
    gEngine engine;
    if (!engine.Init("config.xml")) return -1;
    stateID = MENU;
    currentState = std::make_unique<gMenu>();
    gEngine::runFrame();
    const double elapsed = msBetween(start, Steady::now());
    gEngine::Cleanup();
    stateID = NONE;
    nextState = NONE;
    return elapsed;
}

// The real binary, from exec to its line that start-up is over (the menu's
// first frame follows at once); ended by SIGTERM, which SDL turns into a quit.
double binaryStartUpMs(const std::string& binary) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const Steady::time_point start = Steady::now();
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        dup2(pipeEnds[1], 1);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl(binary.c_str(), binary.c_str(), "-sounds", "off", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string seen;
    char buffer[4096];
    double elapsed = -1;
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        seen.append(buffer, static_cast<size_t>(got));
        if (seen.find("everything started correctly") != std::string::npos) {
            elapsed = msBetween(start, Steady::now());
            break;
        }
    }
    kill(child, SIGTERM);
    for (int waited = 0; waited < 200; ++waited) {
        if (waitpid(child, nullptr, WNOHANG) == child) {
            close(pipeEnds[0]);
            return elapsed;
        }
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(pipeEnds[0]);
    return elapsed;
}

struct FileFigures {
    double saveMs = 0;
    double loadMs = 0;
    double autosaveMs = 0;
};

FileFigures timeSaveAndLoad(int runs) {
    frame_scenes::startGame(true);
    Game* game = Game::Instance();
    std::vector<double> saves, loads, autosaves;
    for (int run = 0; run < runs; ++run) {
        Steady::time_point start = Steady::now();
        game->save();
        saves.push_back(msBetween(start, Steady::now()));
        start = Steady::now();
        game->load();
        loads.push_back(msBetween(start, Steady::now()));
        start = Steady::now();
        game->autosave();
        autosaves.push_back(msBetween(start, Steady::now()));
    }
    return FileFigures{median(saves), median(loads), median(autosaves)};
}

struct ScaleFigures {
    int scale = 1;
    Size drawn{0, 0};
    double enlargeMs = 0;  // the game's picture onto the window, every pixel scale x scale
};

// The full tower from storey 9 drawn for a 1920 x 1080 window at a scale, and
// what enlarging that picture onto the window costs, as every frame's flip pays it.
ScaleFigures timeScaling(const Options& options, int scale, const std::vector<std::string>& images) {
    ScaleFigures figures;
    figures.scale = scale;
    const Size window{1920, 1080};
    if (!openWindow(window, images)) return figures;
    SDL_Surface* shown = SDL_GetVideoSurface();
    CSurface::setWindow(shown, scale);
    resolutionX = window.width / scale;
    resolutionY = window.height / scale;
    figures.drawn = Size{resolutionX, resolutionY};
    for (const frame_scenes::Scene& scene : frame_scenes::all())
        if (std::string(scene.name) == "tower-storey9") frame_scenes::renderScene(scene);
    SDL_Surface* picture = CSurface::slot(slots::WINDOW);
    const int enlargements = 100;
    std::vector<double> runs;
    for (int run = 0; run < options.runs; ++run) {
        const Steady::time_point start = Steady::now();
        for (int i = 0; i < enlargements; ++i) pixelScale::enlarge(picture, shown, scale);
        runs.push_back(msBetween(start, Steady::now()) / enlargements);
    }
    figures.enlargeMs = median(runs);
    closeWindow();
    return figures;
}

int capture(const std::string& directory) {
    const std::vector<std::string> images = requiredImages();
    for (const Size& size : sizes) {
        if (!openWindow(size, images)) return 1;
        frame_scenes::renderScene(frame_scenes::recordedScene());
        const std::string path = directory + "/" + frame_scenes::recordingName(size.width, size.height);
        if (!writePNG(CSurface::slot(slots::WINDOW), path)) {
            fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
        closeWindow();
    }
    return 0;
}

// Draws one scene for a number of frames with time frozen, for an
// instruction profiler: callgrind --toggle-collect='*profiledFrames*'.
void __attribute__((noinline)) profiledFrames(const point& camera, int frames) {
    for (int i = 0; i < frames; ++i) frame_scenes::drawFrame(camera, false);
}

int profile(const std::string& sceneName, Size size, int frames) {
    if (!openWindow(size, requiredImages())) return 1;
    for (const frame_scenes::Scene& scene : frame_scenes::all()) {
        if (sceneName != scene.name) continue;
        frame_scenes::renderScene(scene);
        profiledFrames(frame_scenes::viewScene(scene), frames);
        closeWindow();
        return 0;
    }
    fprintf(stderr, "no scene named %s\n", sceneName.c_str());
    closeWindow();
    return 2;
}


void writeJson(const std::string& path, double startUp, double binaryStartUp, const FileFigures& files, long peakKb,
               const std::vector<SizeFigures>& floors, const std::vector<SceneFigures>& scenes,
               const std::vector<CpuFigures>& cpuFigures, const std::vector<ScaleFigures>& scaling) {
    FILE* out = fopen(path.c_str(), "w");
    if (!out) {
        fprintf(stderr, "could not write %s\n", path.c_str());
        return;
    }
    fprintf(out, "{\n  \"startup_ms\": %.3f,\n", startUp);
    fprintf(out, "  \"startup_method\": \"in-process gEngine::Init and the first menu frame\",\n");
    fprintf(out, "  \"binary_startup_ms\": %.3f,\n", binaryStartUp);
    fprintf(out, "  \"save_ms\": %.3f,\n  \"load_ms\": %.3f,\n  \"autosave_ms\": %.3f,\n  \"peak_rss_kb\": %ld,\n",
            files.saveMs, files.loadMs, files.autosaveMs, peakKb);
    fprintf(out, "  \"scaling_tower_storey9_to_1920x1080\": [\n");
    for (size_t i = 0; i < scaling.size(); ++i) {
        fprintf(out, "    {\"scale\": %d, \"drawn\": \"%s\", \"enlarge_ms\": %.4f}%s\n", scaling[i].scale,
                sizeText(scaling[i].drawn).c_str(), scaling[i].enlargeMs, i + 1 < scaling.size() ? "," : "");
    }
    fprintf(out, "  ],\n");
    fprintf(out, "  \"cpu_per_second\": [\n");
    for (size_t i = 0; i < cpuFigures.size(); ++i) {
        const CpuFigures& c = cpuFigures[i];
        fprintf(out,
                "    {\"tower\": \"%s\", \"size\": \"%s\", \"painted\": \"%s\", \"cap\": %d, \"fps\": %.1f, "
                "\"core_share\": %.4f, \"cpu_ms_per_frame\": %.4f, \"sent_mb_per_s\": %.3f}%s\n",
                c.what.c_str(), sizeText(c.size).c_str(), c.whole ? "whole" : "changed", c.cap, c.fps, c.coreShare,
                c.cpuMsPerFrame, c.sentMBps, i + 1 < cpuFigures.size() ? "," : "");
    }
    fprintf(out, "  ],\n");
    fprintf(out, "  \"clear_and_flip\": [\n");
    for (size_t i = 0; i < floors.size(); ++i) {
        fprintf(out, "    {\"size\": \"%s\", \"ms\": %.4f, \"fps\": %.1f, \"recorded_frame\": \"%s\"}%s\n",
                sizeText(floors[i].size).c_str(), floors[i].floorMs, floors[i].floorFps, floors[i].recorded.c_str(),
                i + 1 < floors.size() ? "," : "");
    }
    fprintf(out, "  ],\n  \"scenes\": [\n");
    for (size_t i = 0; i < scenes.size(); ++i) {
        const SceneFigures& s = scenes[i];
        fprintf(out,
                "    {\"scene\": \"%s\", \"size\": \"%s\", \"fps\": %.1f, \"frame_ms\": %.4f, \"loop_ms\": %.4f, "
                "\"render_ms\": %.4f, \"gui_ms\": %.4f, \"flip_ms\": %.4f, \"floor_ratio\": %.2f, "
                "\"allocations_per_frame\": %.3f, \"pixels\": \"%s\"}%s\n",
                s.scene.c_str(), sizeText(s.size).c_str(), s.fps, s.frameMs, s.loopMs, s.renderMs, s.guiMs, s.flipMs,
                s.floorRatio, s.allocationsPerFrame, s.pixels.c_str(), i + 1 < scenes.size() ? "," : "");
    }
    fprintf(out, "  ]\n}\n");
    fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) {
            fprintf(stderr, "%s needs a value\n", option.c_str());
            return 2;
        }
        ++i;
        if (option == "--profile") {
            // --profile SCENE WIDTHxHEIGHT FRAMES
            Size size{800, 600};
            if (i + 2 >= argc || sscanf(argv[i + 1], "%dx%d", &size.width, &size.height) != 2) return 2;
            if (!freopen("/dev/null", "w", stdout)) return 1;
            return profile(value, size, std::max(1, atoi(argv[i + 2])));
        }
        if (option == "--grow") {
            // --grow DAYS: only the tower grown by its stars, for balancing
            if (!freopen("/dev/null", "w", stdout)) return 1;
            if (!openWindow(sizes[0], requiredImages())) return 1;
            const living_bench::Progress progress = living_bench::growServedTower(std::max(1, atoi(value)));
            for (const std::string& line : living_bench::describe(progress)) fprintf(stderr, "%s\n", line.c_str());
            return 0;
        }
        if (option == "--save-towers") {
            if (!freopen("/dev/null", "w", stdout)) return 1;
            return saveTowers(value);
        }
        if (option == "--json") options.json = value;
        else if (option == "--binary") options.binary = value;
        else if (option == "--references") options.references = value;
        else if (option == "--capture") options.capture = value;
        else if (option == "--runs") options.runs = std::max(1, atoi(value));
        else if (option == "--cpu-seconds") options.cpuSeconds = std::max(0.5, atof(value));
        else if (option == "--living-days") options.livingDays = std::max(0, atoi(value));
        else {
            fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }

    // The table is all that goes to standard output; the game's progress lines are dropped.
    const int tableDescriptor = dup(1);
    table = fdopen(tableDescriptor, "w");
    if (!freopen("/dev/null", "w", stdout)) return 1;

    if (!options.capture.empty()) return capture(options.capture);

    const double startUp = startUpMs();
    std::vector<double> binaryRuns;
    if (!options.binary.empty())
        for (int run = 0; run < 5; ++run) binaryRuns.push_back(binaryStartUpMs(options.binary));
    const double binaryStartUp = binaryRuns.empty() ? -1 : median(binaryRuns);

    const std::vector<std::string> images = requiredImages();
    std::vector<SizeFigures> floors;
    std::vector<SceneFigures> scenes;
    FileFigures files;
    std::vector<CpuFigures> cpuFigures;
    std::vector<SceneFigures> living;
    for (const Size& size : sizes) {
        if (!openWindow(size, images)) {
            fprintf(stderr, "cannot open a %dx%d window: %s\n", size.width, size.height, SDL_GetError());
            return 1;
        }
        // The floor is measured before and after the scenes, in the same run.
        const double before = clearAndFlipMs(options);
        std::vector<SceneFigures> timed;
        for (const frame_scenes::Scene& scene : frame_scenes::all()) timed.push_back(timeScene(options, scene, size, 0));
        for (const frame_scenes::Scene& scene : frame_scenes::all())
            if (scene.fullTower && !scene.grid && scene.ceilings && !scene.night)
                living.push_back(timeScene(options, scene, size, 0, true));
        const double floorMs = std::min(before, clearAndFlipMs(options));
        for (SceneFigures& figures : timed) {
            figures.floorRatio = figures.frameMs / floorMs;
            scenes.push_back(figures);
        }
        SizeFigures figures{size, floorMs, 1000.0 / floorMs};
        if (!options.references.empty()) {
            const std::string drawn = directoryOf(options.json) + "/" + frame_scenes::recordedScene().name + "-" +
                                      sizeText(size) + "-drawn.bmp";
            const frame_scenes::FrameDifference difference =
                frame_scenes::compareWithRecording(options.references, drawn);
            figures.recorded = verdict(difference);
            if (!frame_scenes::same(difference)) figures.recorded += " (drawn: " + drawn + ")";
        }
        floors.push_back(figures);
        if (size.width == 800) files = timeSaveAndLoad(options.runs);
        for (const CpuCase& what : cpuCases)
            for (bool whole : {true, false})
                for (int cap : {60, 0})
                    if (cap || size.width == 1920) {
                        cpuFigures.push_back(cpuPerSecond(what, size, whole, cap, options.cpuSeconds));
                    }
        closeWindow();
    }
    std::vector<ScaleFigures> scaling;
    for (int scale : {2, 3, 4}) scaling.push_back(timeScaling(options, scale, images));
    living_bench::Progress progress;
    if (options.livingDays > 0 && openWindow(sizes[0], images)) {
        progress = living_bench::growServedTower(options.livingDays);
        closeWindow();
    }
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const long peakKb = usage.ru_maxrss;

    fprintf(table, "Zentrova frame benchmark (dummy video driver, %d runs per figure, medians)\n\n", options.runs);
    fprintf(table, "%-20s %-9s %8s %8s %7s %7s %7s %7s %6s %6s  %s\n", "scene", "size", "fps", "frame", "loop",
            "render", "gui", "flip", "xfloor", "allocs", "pixels");
    fprintf(table, "%-20s %-9s %8s %8s %7s %7s %7s %7s %6s %6s\n", "", "", "", "ms", "ms", "ms", "ms", "ms", "",
            "/frame");
    for (const SceneFigures& s : scenes) {
        fprintf(table, "%-20s %-9s %8.1f %8.4f %7.4f %7.4f %7.4f %7.4f %6.2f %6.2f  %s\n", s.scene.c_str(),
                sizeText(s.size).c_str(), s.fps, s.frameMs, s.loopMs, s.renderMs, s.guiMs, s.flipMs, s.floorRatio,
                s.allocationsPerFrame, s.pixels.c_str());
    }
    fprintf(table, "\nthe living tower at 08:00 of its third day against the classic one:\n");
    for (const SceneFigures& l : living) {
        for (const SceneFigures& s : scenes) {
            if (s.scene != l.scene || s.size.width != l.size.width) continue;
            fprintf(table,
                    "%-20s %-9s %5d people %7.4f ms a frame (loop %.4f, render %.4f; classic %.4f, %.4f, %.4f): "
                    "%.2f x, %.2f allocations a frame; with Ctrl held %.2f ms a frame\n",
                    l.scene.c_str(), sizeText(l.size).c_str(), l.people, l.frameMs, l.loopMs, l.renderMs, s.frameMs,
                    s.loopMs, s.renderMs, l.frameMs / s.frameMs, l.allocationsPerFrame, l.hourFrameMs);
        }
    }
    if (!progress.days.empty()) {
        fprintf(table, "\na tower grown as its stars open storeys (nine shafts, one car each):\n");
        for (const std::string& line : living_bench::describe(progress)) fprintf(table, "%s\n", line.c_str());
    }
    fprintf(table, "\n");
    for (const SizeFigures& f : floors) {
        fprintf(table, "clear-and-flip floor %-10s %8.4f ms  (%.0f fps)\n", sizeText(f.size).c_str(), f.floorMs,
                f.floorFps);
    }
    for (const SizeFigures& f : floors) {
        fprintf(table, "%s %-10s against its recording: %s\n", frame_scenes::recordedScene().name,
                sizeText(f.size).c_str(), f.recorded.c_str());
    }
    fprintf(table, "start-up to the first menu frame (in-process Init + one frame): %.2f ms\n", startUp);
    if (binaryStartUp >= 0) fprintf(table, "start-up of the real binary (exec to end of Init): %.2f ms\n", binaryStartUp);
    fprintf(table, "Game::save %.3f ms, Game::load %.3f ms, Game::autosave %.3f ms (full tower)\n", files.saveMs,
            files.loadMs, files.autosaveMs);
    for (const ScaleFigures& f : scaling) {
        fprintf(table, "enlarging the full tower from storey 9, drawn at %s, to 1920x1080 at scale %d: %.4f ms\n",
                sizeText(f.drawn).c_str(), f.scale, f.enlargeMs);
    }
    fprintf(table, "peak memory (ru_maxrss): %ld KiB\n", peakKb);
    fprintf(table, "\nprocessor time of the game (the display's own not included) and what it sends:\n");
    for (const CpuFigures& c : cpuFigures) {
        fprintf(table, "  %-22s %-9s %-8s %-7s %5.1f%% of a core at %6.1f fps, %.3f ms a frame, %7.2f MB/s sent\n",
                c.what.c_str(), sizeText(c.size).c_str(), c.whole ? "whole" : "changed",
                c.cap ? ("-fps " + std::to_string(c.cap)).c_str() : "no cap", 100 * c.coreShare, c.fps,
                c.cpuMsPerFrame, c.sentMBps);
    }
    fflush(table);
    writeJson(options.json, startUp, binaryStartUp, files, peakKb, floors, scenes, cpuFigures, scaling);
    return 0;
}
