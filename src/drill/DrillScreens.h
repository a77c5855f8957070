#pragma once

class ScreenHost;
struct ScreenContext;

// Registers the eight drill screens under their names (アジアドリル ... 南アメリカドリル).
void registerDrillScreens(ScreenHost &host, ScreenContext &context);
