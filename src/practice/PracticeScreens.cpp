#include "PracticeScreens.h"

#include "LearningRecordScreen.h"
#include "ReviewSessionScreen.h"
#include "ScreenDirectory.h"

void registerPracticeScreens(ScreenDirectory &host, ScreenContext &context, ReviewDesk &desk)
{
    host.registerScreen(ReviewSessionScreen::ScreenName,
                        [&context, &desk] { return new ReviewSessionScreen(context, desk); });
    host.registerScreen(LearningRecordScreen::ScreenName,
                        [&context, &desk] { return new LearningRecordScreen(context, desk); });
}
