#include "Sound.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

SoundBuffer::SoundBuffer(int sampleRate)
    : m_rate(sampleRate)
{
}

void SoundBuffer::add(const Note &note)
{
    const auto first = std::size_t(std::lround(note.start * m_rate));
    const auto count = std::size_t(std::lround(note.length * m_rate));
    if (m_samples.size() < first + count)
        m_samples.resize(first + count, 0.0);

    const double dt = 1.0 / m_rate;
    const double nyquistGuard = 0.45 * m_rate;
    const QList<Partial> partials = note.partials.isEmpty() ? QList<Partial>{Partial()} : note.partials;
    std::vector<double> phase(std::size_t(partials.size()), 0.0);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i) * dt;
        const double progress = count > 1 ? double(i) / double(count - 1) : 0.0;

        double envelope = 1.0;
        if (t < note.attack)
            envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * t / note.attack);
        const double untilEnd = note.length - t;
        if (untilEnd < note.release)
            envelope *= 0.5 - 0.5 * std::cos(std::numbers::pi * std::max(0.0, untilEnd) / note.release);

        double frequency = note.frequency * std::pow(note.glide, progress);
        if (note.vibratoDepth > 0.0 && t > note.vibratoDelay) {
            const double ramp = std::min(1.0, (t - note.vibratoDelay) / 0.15);
            frequency *= 1.0 + ramp * note.vibratoDepth
                                   * std::sin(2.0 * std::numbers::pi * note.vibratoRate * (t - note.vibratoDelay));
        }

        double value = 0.0;
        for (qsizetype p = 0; p < partials.size(); ++p) {
            const Partial &partial = partials[p];
            const double f = frequency * partial.ratio;
            if (f >= nyquistGuard)
                continue;
            double &ph = phase[std::size_t(p)];
            ph += 2.0 * std::numbers::pi * f * dt;
            if (ph > 2.0 * std::numbers::pi)
                ph -= 2.0 * std::numbers::pi;
            double gain = partial.gain;
            if (note.decay > 0.0)
                gain *= std::exp(-t * partial.decayScale / note.decay);
            value += gain * std::sin(ph);
        }
        m_samples[first + i] += note.gain * envelope * value;
    }
}

void SoundBuffer::normalise(double peak)
{
    double largest = 0.0;
    for (double s : m_samples)
        largest = std::max(largest, std::abs(s));
    if (largest <= 0.0)
        return;
    const double scale = peak / largest;
    for (double &s : m_samples)
        s *= scale;
}

void SoundBuffer::fade(double inSeconds, double outSeconds)
{
    const auto n = m_samples.size();
    const auto in = std::min(n, std::size_t(std::lround(inSeconds * m_rate)));
    const auto out = std::min(n, std::size_t(std::lround(outSeconds * m_rate)));
    for (std::size_t i = 0; i < in; ++i)
        m_samples[i] *= double(i) / double(in);
    for (std::size_t i = 0; i < out; ++i)
        m_samples[n - 1 - i] *= double(i) / double(out);
}

QByteArray SoundBuffer::toWav() const
{
    const auto dataBytes = quint32(m_samples.size() * 2);
    QByteArray wav;
    wav.reserve(int(44 + dataBytes));
    auto put32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto put16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF", 4);
    put32(36 + dataBytes);
    wav.append("WAVE", 4);
    wav.append("fmt ", 4);
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(quint32(m_rate));
    put32(quint32(m_rate * 2));
    put16(2);
    put16(16);
    wav.append("data", 4);
    put32(dataBytes);
    for (double s : m_samples) {
        const auto v = qint16(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
        put16(quint16(v));
    }
    return wav;
}

namespace {

constexpr double peakLevel = 0.85;

double midi(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

void finish(SoundBuffer &buffer)
{
    buffer.normalise(peakLevel);
    buffer.fade(0.004, 0.03);
}

QList<Partial> bell()
{
    return {{1.0, 1.0, 1.0}, {2.0, 0.35, 1.8}, {3.0, 0.12, 2.6}, {4.16, 0.08, 3.5}, {5.43, 0.04, 4.5}};
}

QList<Partial> brass(int count)
{
    QList<Partial> partials;
    for (int k = 1; k <= count; ++k)
        partials.append({double(k), std::pow(0.72, k - 1), 1.0});
    return partials;
}

} // namespace

SoundBuffer correctChime()
{
    // "Pin-pon": a high bell note falling a major third.
    SoundBuffer buffer;
    Note ping;
    ping.start = 0.0;
    ping.length = 0.55;
    ping.frequency = midi(88); // E6
    ping.partials = bell();
    ping.attack = 0.004;
    ping.release = 0.12;
    ping.decay = 0.30;
    buffer.add(ping);
    Note pon = ping;
    pon.start = 0.26;
    pon.length = 0.95;
    pon.frequency = midi(84); // C6
    pon.decay = 0.38;
    pon.release = 0.3;
    buffer.add(pon);
    finish(buffer);
    return buffer;
}

SoundBuffer wrongBuzz()
{
    // "Bu-buu": two low, harsh buzzes made of odd harmonics.
    SoundBuffer buffer;
    QList<Partial> buzz;
    for (int k = 1; k <= 31; k += 2)
        buzz.append({double(k), 1.0 / k, 1.0});
    Note first;
    first.start = 0.0;
    first.length = 0.16;
    first.frequency = 138.0;
    first.partials = buzz;
    first.attack = 0.008;
    first.release = 0.03;
    buffer.add(first);
    Note detuned = first;
    detuned.frequency = 141.5;
    detuned.gain = 0.6;
    buffer.add(detuned);
    Note second = first;
    second.start = 0.22;
    second.length = 0.55;
    second.release = 0.08;
    buffer.add(second);
    detuned = second;
    detuned.frequency = 141.5;
    detuned.gain = 0.6;
    buffer.add(detuned);
    finish(buffer);
    return buffer;
}

SoundBuffer passFanfare()
{
    // A short brass fanfare ending on a held C major chord.
    SoundBuffer buffer;
    struct Step
    {
        double start;
        double length;
        int pitch;
    };
    const Step melody[] = {
        {0.00, 0.13, 67}, {0.13, 0.13, 72}, {0.26, 0.13, 76}, {0.39, 0.36, 79},
        {0.78, 0.13, 76}, {0.91, 1.05, 84},
    };
    for (const Step &s : melody) {
        Note n;
        n.start = s.start;
        n.length = s.length;
        n.frequency = midi(s.pitch);
        n.partials = brass(8);
        n.attack = 0.02;
        n.release = s.length > 0.5 ? 0.35 : 0.04;
        if (s.length > 0.5) {
            n.vibratoRate = 5.5;
            n.vibratoDepth = 0.006;
            n.vibratoDelay = 0.25;
        }
        buffer.add(n);
    }
    for (int pitch : {72, 76, 79}) {
        Note chord;
        chord.start = 0.91;
        chord.length = 1.05;
        chord.frequency = midi(pitch);
        chord.partials = brass(6);
        chord.gain = 0.55;
        chord.attack = 0.03;
        chord.release = 0.35;
        buffer.add(chord);
    }
    finish(buffer);
    return buffer;
}

SoundBuffer failPhrase()
{
    // The sad trombone: three falling steps and a long sagging last note.
    SoundBuffer buffer;
    struct Step
    {
        double start;
        double length;
        int pitch;
    };
    const Step phrase[] = {{0.00, 0.34, 58}, {0.38, 0.34, 57}, {0.76, 0.34, 56}, {1.14, 1.15, 55}};
    for (const Step &s : phrase) {
        Note n;
        n.start = s.start;
        n.length = s.length;
        n.frequency = midi(s.pitch);
        n.partials = brass(7);
        n.attack = 0.05;
        n.release = s.length > 0.5 ? 0.45 : 0.08;
        n.glide = s.length > 0.5 ? 0.94 : 0.985;
        if (s.length > 0.5) {
            n.vibratoRate = 5.0;
            n.vibratoDepth = 0.018;
            n.vibratoDelay = 0.2;
        }
        buffer.add(n);
    }
    finish(buffer);
    return buffer;
}
