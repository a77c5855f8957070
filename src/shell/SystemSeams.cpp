#include "SystemSeams.h"

#include "DataError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>

#include <chrono>
#include <cmath>

void MessageBoxReporter::report(const DataError &error)
{
    QMessageBox::critical(nullptr, QStringLiteral("世界の国しらべ"), error.message());
    QCoreApplication::exit(EXIT_FAILURE);
}

SoundEffectPlayer::SoundEffectPlayer() = default;
SoundEffectPlayer::~SoundEffectPlayer() = default;

void SoundEffectPlayer::play(const QString &filePath)
{
    if (!QFileInfo(filePath).isFile())
        return;
    // A fresh effect per sound: the previous one stops, the new one starts at once.
    m_effect = std::make_unique<QSoundEffect>();
    m_effect->setSource(QUrl::fromLocalFile(filePath));
    m_effect->play();
}

void TimerSeededRandom::reseed()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    m_generator.seed(std::mt19937::result_type(ticks ^ (ticks >> 32)));
}

double TimerSeededRandom::next()
{
    const double value = std::generate_canonical<double, 53>(m_generator);
    return value < 1.0 ? value : std::nextafter(1.0, 0.0);
}
