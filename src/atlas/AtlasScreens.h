#pragma once

class ScreenDirectory;
struct ScreenContext;

// Registers the eight atlas screens under their region names and the page
// viewer 外務省.
void registerAtlasScreens(ScreenDirectory &host, ScreenContext &context);
