#pragma once

#include <QByteArray>
#include <QList>

#include <vector>

// One partial of a note: frequency ratio to the fundamental, relative gain,
// and how much faster than the fundamental it dies away.
struct Partial
{
    double ratio = 1.0;
    double gain = 1.0;
    double decayScale = 1.0;
};

struct Note
{
    double start = 0.0;     // seconds
    double length = 0.1;    // seconds, including the release
    double frequency = 440.0;
    double gain = 1.0;
    QList<Partial> partials; // empty: a pure sine
    double attack = 0.01;   // seconds
    double release = 0.03;  // seconds, at the end of length
    double decay = 0.0;     // time constant of an exponential decay; 0 = sustained
    double glide = 1.0;     // frequency factor reached at the end of the note
    double vibratoRate = 0.0;  // Hz
    double vibratoDepth = 0.0; // fraction of the frequency
    double vibratoDelay = 0.0; // seconds before vibrato sets in
};

// A mono buffer of samples in [-1, 1] built from additive sine notes.
class SoundBuffer
{
public:
    explicit SoundBuffer(int sampleRate = 22050);

    int sampleRate() const { return m_rate; }
    double duration() const { return double(m_samples.size()) / m_rate; }
    const std::vector<double> &samples() const { return m_samples; }

    void add(const Note &note);
    // Scales the buffer so that its largest magnitude is peak.
    void normalise(double peak);
    // Linear fades at both ends of the buffer.
    void fade(double inSeconds, double outSeconds);

    // 16-bit PCM mono RIFF/WAVE file contents.
    QByteArray toWav() const;

private:
    int m_rate;
    std::vector<double> m_samples;
};

// The four sounds of the drill.
SoundBuffer correctChime();
SoundBuffer wrongBuzz();
SoundBuffer passFanfare();
SoundBuffer failPhrase();
