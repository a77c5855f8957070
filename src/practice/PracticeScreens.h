#pragma once

class ReviewDesk;
class ScreenDirectory;
struct ScreenContext;

// Registers きょうの復習 and 学習の記録.
void registerPracticeScreens(ScreenDirectory &host, ScreenContext &context, ReviewDesk &desk);
