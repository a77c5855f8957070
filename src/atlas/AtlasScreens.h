#pragma once

class ScreenHost;
struct ScreenContext;

// Registers the eight atlas screens under their region names and the page
// viewer 外務省.
void registerAtlasScreens(ScreenHost &host, ScreenContext &context);
