#pragma once

struct AppState;
class ScreenDirectory;
class SoundPlayer;
class MonotonicClock;
class RandomSource;

// What a screen is given: the shared state, the host that shows and unloads
// screens, and the seams that tests replace.
struct ScreenContext {
    AppState &state;
    ScreenDirectory &host;
    SoundPlayer &sound;
    MonotonicClock &clock;
    RandomSource &random;
};
