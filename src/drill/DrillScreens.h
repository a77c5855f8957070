#pragma once

class ScreenDirectory;
struct ScreenContext;

// Registers the eight drill screens under their names (アジアドリル ... 南アメリカドリル).
void registerDrillScreens(ScreenDirectory &host, ScreenContext &context);
