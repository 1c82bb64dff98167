"""Small synthesis kit for Quillory's sounds and music: one palette of instruments (wooden
mallets, music-box tines, small bells, breathy flute, soft pads, paper and leaf noises) so that
every sound of the game sounds as if it came from the same cabinet.

Everything works on numpy float arrays at 44100 Hz, amplitude 1.0 = full scale.
"""

import wave

import numpy as np

RATE = 44100
A4 = 440.0


def midi_hz(note):
    return A4 * 2.0 ** ((note - 69) / 12.0)


def seconds(n):
    return np.arange(int(round(n * RATE))) / RATE


def silence(duration):
    return np.zeros(int(round(duration * RATE)))


def rng(seed):
    return np.random.default_rng(seed)


# -- envelopes ---------------------------------------------------------------------------------


def decay_env(duration, decay, attack=0.002):
    """A struck sound: a short linear rise, then an exponential fall with time constant decay."""
    t = seconds(duration)
    env = np.exp(-t / decay)
    rise = max(1, int(attack * RATE))
    env[:rise] *= np.linspace(0.0, 1.0, rise, endpoint=False)
    return env


def adsr(duration, attack, release, sustain=1.0, decay=0.0):
    """A held sound: raised-cosine attack and release around a (slowly decaying) sustain."""
    t = seconds(duration)
    env = np.full(len(t), sustain)
    if decay > 0:
        env = sustain + (1 - sustain) * np.exp(-t / decay)
    a = max(1, int(attack * RATE))
    r = max(1, int(release * RATE))
    a = min(a, len(t))
    env[:a] *= 0.5 - 0.5 * np.cos(np.linspace(0, np.pi, a))
    r = min(r, len(t))
    env[len(t) - r:] *= 0.5 + 0.5 * np.cos(np.linspace(0, np.pi, r))
    return env


# -- filters -------------------------------------------------------------------------------------


def one_pole_lowpass(x, cutoff):
    """Gentle 6 dB/octave low-pass (vectorised through an FFT of the impulse response)."""
    a = np.exp(-2 * np.pi * cutoff / RATE)
    n = min(len(x), int(RATE * 0.5))
    h = (1 - a) * a ** np.arange(n)
    return fft_convolve(x, h)[: len(x)]


def bandpass_noise(duration, low, high, seed):
    """White noise with everything outside low..high Hz removed (brick-wall in frequency)."""
    n = int(round(duration * RATE))
    spectrum = np.fft.rfft(rng(seed).standard_normal(n))
    freqs = np.fft.rfftfreq(n, 1 / RATE)
    spectrum[(freqs < low) | (freqs > high)] = 0
    # soften the band edges a little so the noise has no ringing tone
    edge = (freqs >= low) & (freqs <= high)
    spectrum[edge] *= np.clip(np.sin(np.pi * (freqs[edge] - low) / max(high - low, 1)), 0, 1) ** 0.5
    out = np.fft.irfft(spectrum, n)
    return out / (np.max(np.abs(out)) + 1e-12)


def sweep_noise(duration, start_hz, end_hz, width, seed):
    """Noise through a band that glides from start_hz to end_hz (a whoosh), built from
    overlapping short bands so that the glide is smooth."""
    n = int(round(duration * RATE))
    out = np.zeros(n)
    pieces = 24
    hop = n // pieces
    window = np.hanning(2 * hop + 1)[: 2 * hop]
    for i in range(pieces + 1):
        centre = start_hz * (end_hz / start_hz) ** (i / pieces)
        band = bandpass_noise(2 * hop / RATE, centre * (1 - width), centre * (1 + width),
                              seed + i)
        start = i * hop - hop
        lo, hi = max(0, start), min(n, start + 2 * hop)
        out[lo:hi] += (band * window)[lo - start: hi - start]
    return out / (np.max(np.abs(out)) + 1e-12)


def fft_convolve(x, h):
    size = len(x) + len(h) - 1
    fsize = 1 << (size - 1).bit_length()
    return np.fft.irfft(np.fft.rfft(x, fsize) * np.fft.rfft(h, fsize), fsize)[:size]


def dc_block(x):
    """Removes any constant offset, keeping the ends at zero."""
    return x - np.mean(x)


# -- instruments: each returns a mono note ------------------------------------------------------


def partials(freq, duration, ratios, amps, decays, attack=0.002, phase_seed=None):
    t = seconds(duration)
    out = np.zeros(len(t))
    for r, a, d in zip(ratios, amps, decays):
        f = freq * r
        if f >= RATE / 2 * 0.9:
            continue
        out += a * np.sin(2 * np.pi * f * t) * np.exp(-t / d)
    rise = max(1, int(attack * RATE))
    out[:rise] *= np.linspace(0, 1, rise, endpoint=False)
    return out


def marimba(freq, duration=1.2, hardness=0.5, seed=1):
    """A rosewood bar: fundamental, the tuned fourth partial and a soft mallet click."""
    tone = partials(freq, duration, [1.0, 3.93, 9.2], [1.0, 0.35 * hardness, 0.12 * hardness],
                    [0.45, 0.07, 0.02], attack=0.001)
    click = bandpass_noise(0.012, 800, 4000, seed) * decay_env(0.012, 0.003) * 0.15 * hardness
    tone[: len(click)] += click
    return tone


def music_box(freq, duration=1.6):
    """A steel tine: a bright, slightly inharmonic attack over a long clean fundamental."""
    return partials(freq, duration, [1.0, 2.0, 5.04, 9.8], [1.0, 0.25, 0.18, 0.06],
                    [0.9, 0.35, 0.08, 0.03], attack=0.001)


def kalimba(freq, duration=1.2):
    return partials(freq, duration, [1.0, 3.0, 5.9], [1.0, 0.12, 0.2], [0.55, 0.12, 0.04],
                    attack=0.002)


def bell(freq, duration=1.5, brightness=1.0):
    """A small hand bell: the classic minor-third-flavoured bell partials."""
    return partials(freq, duration, [0.5, 1.0, 1.19, 1.56, 2.0, 2.51, 3.01],
                    [0.2, 1.0, 0.45 * brightness, 0.35 * brightness, 0.3 * brightness,
                     0.18 * brightness, 0.1 * brightness],
                    [1.2, 0.9, 0.5, 0.35, 0.28, 0.18, 0.12], attack=0.001)


def glass(freq, duration=1.0):
    """A glass lens tapped: pure, high and short-lived upper partials."""
    return partials(freq, duration, [1.0, 2.32, 4.25, 6.63], [1.0, 0.4, 0.2, 0.08],
                    [0.6, 0.25, 0.1, 0.05], attack=0.0008)


def woodblock(freq, duration=0.15, seed=2):
    tone = partials(freq, duration, [1.0, 1.58, 2.48], [1.0, 0.5, 0.3], [0.03, 0.02, 0.012],
                    attack=0.0005)
    click = bandpass_noise(0.006, 1500, 6000, seed) * 0.3
    tone[: len(click)] += click * decay_env(0.006, 0.002)
    return tone


def pluck(freq, duration=1.0, brightness=0.5):
    """A plucked string (bass), built from decaying harmonics."""
    n = 8
    ratios = list(range(1, n + 1))
    amps = [brightness ** (k - 1) / k for k in ratios]
    decays = [0.8 / (1 + 0.6 * (k - 1)) for k in ratios]
    return partials(freq, duration, ratios, amps, decays, attack=0.004)


def flute(freq, duration, seed=3, vibrato=0.004):
    """A soft wooden flute: near-sine with a little breath, gentle delayed vibrato."""
    t = seconds(duration)
    depth = vibrato * np.clip(t / 0.35, 0, 1)
    phase = 2 * np.pi * freq * np.cumsum(1 + depth * np.sin(2 * np.pi * 5.0 * t)) / RATE
    tone = np.sin(phase) + 0.12 * np.sin(2 * phase) + 0.05 * np.sin(3 * phase)
    breath = bandpass_noise(duration, freq * 0.8, freq * 3.0, seed) * 0.05
    return (tone + breath) * adsr(duration, 0.07, 0.12, sustain=0.85, decay=0.4)


def pad(freqs, duration, seed=4, cutoff_harmonics=6):
    """A warm chord: a few detuned, softened saw voices per note, slow attack and release."""
    t = seconds(duration)
    out = np.zeros(len(t))
    r = rng(seed)
    for f in freqs:
        for detune in (-0.004, 0.0, 0.005):
            fd = f * (1 + detune)
            ph = r.uniform(0, 2 * np.pi)
            for k in range(1, cutoff_harmonics + 1):
                if fd * k > 6000:
                    break
                out += np.sin(2 * np.pi * fd * k * t + ph * k) / (k ** 1.6)
    out /= max(1, len(freqs) * 3)
    return out * adsr(duration, min(0.6, duration / 3), min(0.8, duration / 3), sustain=1.0)


def noise_burst(duration, low, high, decay, seed, attack=0.001):
    return bandpass_noise(duration, low, high, seed) * decay_env(duration, decay, attack)


def glide(f0, f1, duration, shape="exp"):
    """A sine whose pitch slides from f0 to f1."""
    t = seconds(duration)
    if shape == "exp":
        f = f0 * (f1 / f0) ** (t / duration)
    else:
        f = f0 + (f1 - f0) * t / duration
    return np.sin(2 * np.pi * np.cumsum(f) / RATE)


# -- mixing --------------------------------------------------------------------------------------


def place(track, sound, at):
    """Adds sound into track starting at time `at` (seconds), growing the track if needed."""
    start = int(round(at * RATE))
    end = start + len(sound)
    if end > len(track):
        track = np.concatenate([track, np.zeros(end - len(track))])
    track[start:end] += sound
    return track


def mix(*parts):
    """Sums (sound, at, gain) triples into one track."""
    track = np.zeros(1)
    for sound, at, gain in parts:
        track = place(track, sound * gain, at)
    return track


def reverb_tail(duration=1.2, seed=5, brightness=3000):
    """An impulse response: a decaying, darkening cloud of echoes (a small wooden room)."""
    n = int(duration * RATE)
    t = np.arange(n) / RATE
    noise = rng(seed).standard_normal(n) * np.exp(-t / (duration / 5))
    noise = one_pole_lowpass(noise, brightness)
    noise[: int(0.008 * RATE)] = 0  # pre-delay
    return noise / np.sqrt(np.sum(noise ** 2))


def add_reverb(x, wet=0.18, duration=1.0, seed=5):
    tail = fft_convolve(x, reverb_tail(duration, seed))
    out = np.zeros(len(tail))
    out[: len(x)] += x
    return out + wet * tail


def finish(x, fade_in=0.0015, fade_out=0.03, trim_db=-50.0, lead_in=0.003):
    """Cuts the inaudible tail, removes DC, fades both ends so that no click is heard, and puts
    a few milliseconds of silence in front (the encoder then has no transient to smear across
    the very first sample)."""
    x = dc_block(x)
    peak = np.max(np.abs(x)) + 1e-12
    above = np.nonzero(np.abs(x) > peak * 10 ** (trim_db / 20))[0]
    if len(above):
        x = x[: above[-1] + 1]
    fi = max(1, int(fade_in * RATE))
    fo = max(1, int(fade_out * RATE))
    x = x.copy()
    x[:fi] *= 0.5 - 0.5 * np.cos(np.linspace(0, np.pi, fi))
    x[-fo:] *= 0.5 + 0.5 * np.cos(np.linspace(0, np.pi, fo))
    x[0] = 0.0
    x[-1] = 0.0
    return np.concatenate([np.zeros(int(lead_in * RATE)), x])


def short_term_rms(x, window=0.1):
    """RMS of the loudest window of the sound (how loud it is felt when it plays)."""
    n = max(1, int(window * RATE))
    if len(x) <= n:
        return float(np.sqrt(np.mean(x ** 2)))
    power = np.convolve(x ** 2, np.ones(n) / n, mode="valid")
    return float(np.sqrt(np.max(power)))


def normalise(x, loudness_db, peak_db=-1.0):
    """Scales to the given short-term loudness, but never above the peak ceiling."""
    gain = 10 ** (loudness_db / 20) / (short_term_rms(x) + 1e-12)
    ceiling = 10 ** (peak_db / 20) / (np.max(np.abs(x)) + 1e-12)
    return x * min(gain, ceiling)


def write_wav(path, samples):
    """Writes 16-bit PCM; samples is (n,) mono or (n, 2) stereo."""
    data = np.clip(samples, -1.0, 1.0)
    pcm = np.round(data * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1 if pcm.ndim == 1 else pcm.shape[1])
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
