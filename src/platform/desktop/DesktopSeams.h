#pragma once

#include "Seams.h"

#include <memory>

class QSoundEffect;

// The desktop's fatal-error reporter and sound player.

class MessageBoxReporter : public FatalErrorReporter
{
public:
    void report(const DataError &error) override;
};

class SoundEffectPlayer : public SoundPlayer
{
public:
    SoundEffectPlayer();
    ~SoundEffectPlayer() override;
    void play(const QString &filePath) override;

    // Whether play() hands the file on: a RIFF WAVE file with a whole format
    // chunk, then a data chunk that states its length and holds all of it,
    // and no chunk of odd length between. Qt's sound loader waits for ever
    // for the rest of a file it takes to be cut short, and releasing the next
    // sound then waits for that loader: the program would hang.
    static bool isPlayable(const QString &filePath);

private:
    std::unique_ptr<QSoundEffect> m_effect;
};
