#pragma once

#include "AppState.h"
#include "AtlasScreens.h"
#include "OfficialPageScreen.h"
#include "Cp932.h"
#include "RegionCatalogue.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "TempDataRoot.h"
#include "TestSeams.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>

#include <functional>

inline QByteArray crlfText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return Cp932::encode(text);
}

// A data directory with every file of a region: entry k is named "国k",
// stands at list position N + 1 - k, and its files say which entry they
// belong to.
struct AtlasFixture {
    TempDataRoot data;
    AppState state;
    ScreenHost host;
    RecordingSoundPlayer sound;
    FakeClock clock;
    ScriptedRandom random;
    ScreenContext context{state, host, sound, clock, random};

    AtlasFixture()
    {
        state.DataRoot = data.root();
        registerAtlasScreens(host, context, registerOfficialPageScreen(host, context));
    }

    ~AtlasFixture()
    {
        for (const RegionInfo &region : RegionCatalogue::all())
            host.unload(region.atlasScreenName());
        host.unload(QStringLiteral("外務省"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QString name(int k) { return QStringLiteral("国%1").arg(k); }

    void writeRegion(const RegionInfo &region, QSize flagSize = QSize(100, 60),
                     std::function<int(int)> position = {})
    {
        const int n = region.countryCount;
        const QString r = region.regionName();
        QStringList countries;
        QStringList pages;
        for (int k = 1; k <= n; ++k) {
            countries << QStringLiteral("%1,%2").arg(name(k)).arg(position ? position(k) : n + 1 - k);
            pages << QStringLiteral("%1,http://127.0.0.1:9/page%2.html").arg(name(k)).arg(k);
            data.write(QStringLiteral("概要/%1/s%2.txt").arg(r).arg(k),
                       crlfText({QStringLiteral("概要 %1").arg(k), QStringLiteral("二行目")}));
            data.write(QStringLiteral("国旗/%1/由来/y%2.txt").arg(r).arg(k),
                       crlfText({QStringLiteral("由来 %1").arg(k)}));
            data.write(QStringLiteral("国旗/%1/h%2.gif").arg(r).arg(k),
                       pictureBytes(flagSize, QColor::fromHsv(k * 6 % 360, 200, 220)));
        }
        data.write(QStringLiteral("概要/%1/kuni.txt").arg(r), crlfText(countries));
        data.write(QStringLiteral("外務省/%1/url.txt").arg(r), crlfText(pages));
    }
};
