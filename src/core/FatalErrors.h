#pragma once

#include "DataError.h"

#include <utility>

class FatalErrorReporter;

// Where a DataError raised by an event handler goes. Handlers run under
// guard() so that the error never unwinds through Qt's event delivery or
// signal emission, which are not exception safe.
namespace FatalErrors {

// The reporter of the running application; null uninstalls it.
void install(FatalErrorReporter *reporter);

// Reports the error through the installed reporter and asks the event loop
// to end with EXIT_FAILURE. False when no reporter is installed.
bool report(const DataError &error);

// Runs the handler; a DataError it raises is reported and ends the program.
// Without a reporter the error goes on to the caller.
template <typename Handler>
void guard(Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const DataError &error) {
        if (!report(error))
            throw;
    }
}

// A slot for QObject::connect that runs a member function under guard().
template <typename Object, typename... Args>
auto guarded(Object *object, void (Object::*handler)(Args...))
{
    return [object, handler](Args... args) { guard([&] { (object->*handler)(args...); }); };
}

// A slot for QObject::connect that runs a function object under guard().
template <typename Handler>
auto guarded(Handler handler)
{
    return [handler = std::move(handler)](auto &&...args)
               -> decltype(handler(std::forward<decltype(args)>(args)...)) {
        guard([&] { handler(std::forward<decltype(args)>(args)...); });
    };
}

} // namespace FatalErrors
