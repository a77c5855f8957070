#include "BrowserReviewStore.h"

#include <emscripten.h>

namespace {

// Storage may be refused (private browsing, a full quota): every call says so
// instead of throwing into the program.

// The stored text's length in UTF-8 bytes, -1 when there is none, -2 when
// storage cannot be read.
EM_JS(int, stored_length, (const char *key), {
    try {
        var text = window.localStorage.getItem(UTF8ToString(key));
        return text === null ? -1 : lengthBytesUTF8(text);
    } catch (e) {
        return -2;
    }
});

EM_JS(int, stored_copy, (const char *key, char *buffer, int size), {
    try {
        var text = window.localStorage.getItem(UTF8ToString(key));
        if (text === null)
            return 0;
        stringToUTF8(text, buffer, size);
        return 1;
    } catch (e) {
        return 0;
    }
});

EM_JS(int, store_text, (const char *key, const char *text), {
    try {
        window.localStorage.setItem(UTF8ToString(key), UTF8ToString(text));
        return 1;
    } catch (e) {
        return 0;
    }
});

// Moves the text under `key` to the first free key of `stem`, `stem`-2, ...
EM_JS(int, move_stored, (const char *key, const char *stem), {
    try {
        var storage = window.localStorage;
        var from = UTF8ToString(key);
        var text = storage.getItem(from);
        if (text === null)
            return 1;
        var base = UTF8ToString(stem);
        var to = base;
        for (var n = 2; storage.getItem(to) !== null; ++n)
            to = base + "-" + n;
        storage.setItem(to, text);
        storage.removeItem(from);
        return 1;
    } catch (e) {
        return 0;
    }
});

} // namespace

ReviewStore::Read BrowserReviewStore::read(QByteArray *bytes)
{
    const int length = stored_length(Key);
    if (length == -1)
        return Read::Missing;
    if (length < 0)
        return Read::Failed;
    if (length > ReviewRecord::MaxBytes)
        return Read::TooLarge;
    QByteArray text(length + 1, '\0');
    if (!stored_copy(Key, text.data(), int(text.size())))
        return Read::Failed;
    text.truncate(length);
    *bytes = text;
    return Read::Found;
}

bool BrowserReviewStore::write(const QByteArray &bytes)
{
    // The record is JSON text: no NUL within it.
    return store_text(Key, bytes.constData()) == 1;
}

bool BrowserReviewStore::setAside(const QDateTime &now)
{
    const QByteArray stem =
        QByteArray(Key) + ".bad-" + now.toString(QStringLiteral("yyyyMMdd-HHmmss")).toLatin1();
    return move_stored(Key, stem.constData()) == 1;
}
