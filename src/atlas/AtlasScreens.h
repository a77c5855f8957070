#pragma once

#include "OfficialPage.h"

class ScreenDirectory;
struct ScreenContext;

// Registers the eight atlas screens under their region names; their page
// links show pages through openPage.
void registerAtlasScreens(ScreenDirectory &host, ScreenContext &context, OfficialPage::Opener openPage);
