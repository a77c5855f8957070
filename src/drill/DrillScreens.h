#pragma once

class ScreenDirectory;
struct ScreenContext;

// Registers the eight drill screens under their names (アジアドリル ... 南アメリカドリル),
// and beside each its learning drills and its review of the entries missed.
void registerDrillScreens(ScreenDirectory &host, ScreenContext &context);
