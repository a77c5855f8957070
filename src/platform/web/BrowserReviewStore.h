#pragma once

#include "ReviewStore.h"

// The review record in the site's browser storage (localStorage), the same
// JSON as the desktop's file. A bad record moves under another key.
class BrowserReviewStore : public ReviewStore
{
public:
    static constexpr const char *Key = "kunishirabe-review";

    Read read(QByteArray *bytes) override;
    bool write(const QByteArray &bytes) override;
    bool setAside(const QDateTime &now) override;
};
