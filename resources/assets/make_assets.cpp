// Makes the program's pictures and sounds: the two card stars, the icon, the
// click and the fanfare. Run it natively from this folder to remake them:
//   c++ -std=c++17 -O2 make_assets.cpp -o make_assets && ./make_assets
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "../../win/little_endian.h"

namespace {

constexpr double pi = 3.14159265358979323846;

struct Colour {
    double r, g, b, a;
};

Colour mix(const Colour& x, const Colour& y, double t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

double clamp01(double v) { return std::max(0.0, std::min(1.0, v)); }

struct Image {
    int width, height;
    std::vector<Colour> pixels;
    Image(int w, int h, Colour fill) : width(w), height(h), pixels(static_cast<size_t>(w * h), fill) {}
    Colour& at(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }
};

// A five-pointed star, point up.
struct Star {
    double cx, cy, outer, inner;
    std::array<double, 20> vertex;  // x, y of the ten corners, tips at even places

    Star(double x, double y, double r) : cx(x), cy(y), outer(r), inner(r * 0.40) {
        for (int i = 0; i < 10; ++i) {
            double angle = -pi / 2 + i * pi / 5;
            double radius = i % 2 ? inner : outer;
            vertex[static_cast<size_t>(2 * i)] = cx + radius * std::cos(angle);
            vertex[static_cast<size_t>(2 * i + 1)] = cy + radius * std::sin(angle);
        }
    }

    bool inside(double x, double y) const {
        bool in = false;
        for (int i = 0, j = 9; i < 10; j = i++) {
            double xi = vertex[2 * i], yi = vertex[2 * i + 1], xj = vertex[2 * j], yj = vertex[2 * j + 1];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    }

    // The normal of the bevelled facet under a point: each arm is two flat
    // facets that rise from the edges to the ridge from the centre to its tip.
    void facetNormal(double x, double y, double height, double n[3]) const {
        double angle = std::atan2(y - cy, x - cx) + pi / 2;
        while (angle < 0) angle += 2 * pi;
        int sector = static_cast<int>(angle / (pi / 5)) % 10;
        int a = sector, b = (sector + 1) % 10;
        double p0[3] = {cx, cy, height};
        double p1[3] = {vertex[2 * a], vertex[2 * a + 1], 0};
        double p2[3] = {vertex[2 * b], vertex[2 * b + 1], 0};
        double u[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        double v[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
        n[0] = u[1] * v[2] - u[2] * v[1];
        n[1] = u[2] * v[0] - u[0] * v[2];
        n[2] = u[0] * v[1] - u[1] * v[0];
        if (n[2] < 0) {
            for (int i = 0; i < 3; ++i) n[i] = -n[i];
        }
        double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (int i = 0; i < 3; ++i) n[i] /= length;
    }
};

// Deterministic noise for the crumpled foil.
struct Random {
    uint64_t state;
    double next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    }
};

struct Creases {
    struct Fold {
        double nx, ny, offset, depth;
    };
    std::vector<Fold> folds;

    explicit Creases(int count) {
        Random random{20261207};
        for (int i = 0; i < count; ++i) {
            double angle = random.next() * pi;
            folds.push_back({std::cos(angle), std::sin(angle), random.next() * 420 - 50,
                             (random.next() * 0.8 + 0.2) * (random.next() < 0.5 ? 1 : -1)});
        }
    }

    // A height field of straight folds, each a ridge or a valley.
    double height(double x, double y) const {
        double h = 0;
        for (const Fold& f : folds) {
            double d = x * f.nx + y * f.ny - f.offset;
            h += f.depth * std::exp(-std::fabs(d) / 5.0);
        }
        return h;
    }
};

const Colour background = {29 / 255.0, 30 / 255.0, 25 / 255.0, 1};

Colour goldShade(double light) {
    const Colour deep = {0.42, 0.26, 0.02, 1};
    const Colour gold = {0.93, 0.74, 0.20, 1};
    const Colour bright = {1.00, 0.95, 0.70, 1};
    return light < 0.6 ? mix(deep, gold, clamp01(light / 0.6)) : mix(gold, bright, clamp01((light - 0.6) / 0.4));
}

// Light from the upper left, a little in front.
double lighting(const double n[3], double shine) {
    const double l[3] = {-0.45, -0.55, 0.70};
    double length = std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
    double diffuse = std::max(0.0, (n[0] * l[0] + n[1] * l[1] + n[2] * l[2]) / length);
    // Specular towards a viewer straight in front.
    double h[3] = {l[0] / length, l[1] / length, l[2] / length + 1};
    double hl = std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);
    double specular = std::pow(std::max(0.0, (n[0] * h[0] + n[1] * h[1] + n[2] * h[2]) / hl), shine);
    return clamp01(0.25 + 0.55 * diffuse + 0.45 * specular);
}

enum class Finish { smooth, foil };

Colour starPixel(const Star& star, const Creases& creases, Finish finish, double x, double y) {
    if (!star.inside(x, y)) return {0, 0, 0, 0};
    double n[3];
    star.facetNormal(x, y, star.outer * 0.22, n);
    if (finish == Finish::foil) {
        const double e = 0.7;
        double gx = (creases.height(x + e, y) - creases.height(x - e, y)) / (2 * e);
        double gy = (creases.height(x, y + e) - creases.height(x, y - e)) / (2 * e);
        n[0] -= gx * 2.4;
        n[1] -= gy * 2.4;
        double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (double& c : n) c /= length;
        return goldShade(lighting(n, 12) * 0.92);
    }
    // The smooth star stays light in the middle, where its figure is written.
    double light = lighting(n, 40);
    double r = std::hypot(x - star.cx, y - star.cy) / star.outer;
    return goldShade(std::max(light, 0.62 - 0.3 * r) * 0.9 + 0.1);
}

// Renders a star with 4 x 4 samples a pixel, edges blended into the background.
Image renderStar(int width, int height, const Star& star, Finish finish, Colour under) {
    Creases creases(90);
    Image image(width, height, under);
    const Colour rim = {0.30, 0.18, 0.02, 1};
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            Colour sum = {0, 0, 0, 0};
            int covered = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    double x = px + (sx + 0.5) / 4, y = py + (sy + 0.5) / 4;
                    Colour c = starPixel(star, creases, finish, x, y);
                    if (c.a == 0) continue;
                    // A thin darker rim gives the star a crisp edge once scaled down.
                    Star shrunk(star.cx, star.cy, star.outer - 7);
                    if (!shrunk.inside(x, y)) c = mix(c, rim, 0.55);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, 1};
                    ++covered;
                }
            }
            if (covered == 0) continue;
            Colour mean = {sum.r / covered, sum.g / covered, sum.b / covered, 1};
            image.at(px, py) = mix(under, mean, covered / 16.0);
            image.at(px, py).a = under.a + (1 - under.a) * covered / 16.0;
        }
    }
    return image;
}


uint8_t channel(double v) { return static_cast<uint8_t>(std::lround(clamp01(v) * 255)); }

// Pixel rows bottom-up, blue, green, red, alpha.
void putPixels(std::vector<uint8_t>& out, Image& image) {
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Colour& c = image.at(x, y);
            out.push_back(channel(c.b));
            out.push_back(channel(c.g));
            out.push_back(channel(c.r));
            out.push_back(channel(c.a));
        }
    }
}

void putInfoHeader(std::vector<uint8_t>& out, int width, int height) {
    appendLittleEndian<uint32_t>(out, 40);
    appendLittleEndian<uint32_t>(out, static_cast<uint32_t>(width));
    appendLittleEndian<uint32_t>(out, static_cast<uint32_t>(height));
    appendLittleEndian<uint16_t>(out, 1);
    appendLittleEndian<uint16_t>(out, 32);
    for (int i = 0; i < 6; ++i) appendLittleEndian<uint32_t>(out, 0);
}

void writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

void writeBmp(const std::string& name, Image& image) {
    std::vector<uint8_t> out;
    uint32_t pixelBytes = static_cast<uint32_t>(image.width * image.height * 4);
    out.push_back('B');
    out.push_back('M');
    appendLittleEndian<uint32_t>(out, 54 + pixelBytes);
    appendLittleEndian<uint32_t>(out, 0);
    appendLittleEndian<uint32_t>(out, 54);
    putInfoHeader(out, image.width, image.height);
    putPixels(out, image);
    writeFile(name, out);
}

// One 32-bit image with its (all-visible) mask, as an icon file.
void writeIcon(const std::string& name, Image& image) {
    std::vector<uint8_t> bitmap;
    putInfoHeader(bitmap, image.width, image.height * 2);
    putPixels(bitmap, image);
    bitmap.insert(bitmap.end(), static_cast<size_t>(image.width / 8 * image.height), 0);
    std::vector<uint8_t> out;
    appendLittleEndian<uint16_t>(out, 0);
    appendLittleEndian<uint16_t>(out, 1);
    appendLittleEndian<uint16_t>(out, 1);
    out.push_back(static_cast<uint8_t>(image.width % 256));
    out.push_back(static_cast<uint8_t>(image.height % 256));
    out.push_back(0);
    out.push_back(0);
    appendLittleEndian<uint16_t>(out, 1);
    appendLittleEndian<uint16_t>(out, 32);
    appendLittleEndian<uint32_t>(out, static_cast<uint32_t>(bitmap.size()));
    appendLittleEndian<uint32_t>(out, 22);
    out.insert(out.end(), bitmap.begin(), bitmap.end());
    writeFile(name, out);
}

void writeWave(const std::string& name, int channels, int rate, int bits, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    appendLittleEndian<uint32_t>(out, static_cast<uint32_t>(36 + data.size()));
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
    appendLittleEndian<uint32_t>(out, 16);
    appendLittleEndian<uint16_t>(out, 1);
    appendLittleEndian<uint16_t>(out, static_cast<uint16_t>(channels));
    appendLittleEndian<uint32_t>(out, static_cast<uint32_t>(rate));
    appendLittleEndian<uint32_t>(out, static_cast<uint32_t>(rate * channels * bits / 8));
    appendLittleEndian<uint16_t>(out, static_cast<uint16_t>(channels * bits / 8));
    appendLittleEndian<uint16_t>(out, static_cast<uint16_t>(bits));
    for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
    appendLittleEndian<uint32_t>(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    writeFile(name, out);
}

// A short dry click: a falling tick over a breath of noise.
void writeClick() {
    const int rate = 11127;
    const size_t samples = 671 - 44;
    Random random{7};
    std::vector<uint8_t> data;
    for (size_t i = 0; i < samples; ++i) {
        double t = static_cast<double>(i) / rate;
        double tick = std::sin(2 * pi * (2300 - 9000 * t) * t) * std::exp(-t * 160);
        double noise = (random.next() * 2 - 1) * std::exp(-t * 260);
        double v = 0.75 * tick + 0.35 * noise;
        data.push_back(static_cast<uint8_t>(std::lround(128 + 110 * std::max(-1.0, std::min(1.0, v)))));
    }
    writeWave("click.wav", 1, rate, 8, data);
}

// A brass-like fanfare: a rising call, then a held major chord.
void writeFanfare() {
    const int rate = 44100;
    const double length = 2.0;
    struct Note {
        double start, duration, frequency, pan;
    };
    const double c5 = 523.25, e5 = 659.25, g5 = 783.99, c6 = 1046.5, g4 = 392.0;
    const std::vector<Note> notes = {
        {0.00, 0.14, g4, 0.5},  {0.15, 0.14, c5, 0.5},  {0.30, 0.14, e5, 0.5},  {0.45, 0.30, g5, 0.5},
        {0.78, 0.12, e5, 0.5},  {0.92, 1.08, c6, 0.5},  {0.92, 1.08, g5, 0.25}, {0.92, 1.08, e5, 0.75},
        {0.92, 1.08, c5, 0.4},
    };
    const size_t frames = static_cast<size_t>(rate * length);
    std::vector<double> left(frames), right(frames);
    for (const Note& note : notes) {
        size_t first = static_cast<size_t>(note.start * rate);
        size_t count = static_cast<size_t>(note.duration * rate);
        for (size_t i = 0; i < count && first + i < frames; ++i) {
            double t = static_cast<double>(i) / rate;
            double attack = std::min(1.0, t / 0.025);
            double release = std::min(1.0, (note.duration - t) / 0.06);
            double envelope = attack * std::max(0.0, release) * (0.8 + 0.2 * std::exp(-t * 6));
            double vibrato = note.duration > 0.5 ? 1 + 0.004 * std::sin(2 * pi * 5.5 * t) * std::min(1.0, t * 2) : 1;
            double phase = 2 * pi * note.frequency * vibrato * t;
            double brightness = 0.55 + 0.45 * std::exp(-t * 4);
            double v = 0;
            for (int h = 1; h <= 8; ++h) v += std::sin(h * phase) * std::pow(brightness, h - 1) / h;
            v *= envelope * 0.18;
            left[first + i] += v * (1 - note.pan) * 2;
            right[first + i] += v * note.pan * 2;
        }
    }
    std::vector<uint8_t> data;
    for (size_t i = 0; i < frames; ++i) {
        for (double v : {left[i], right[i]}) {
            auto s = static_cast<int16_t>(std::lround(std::tanh(v) * 30000));
            appendLittleEndian<uint16_t>(data, static_cast<uint16_t>(s));
        }
    }
    writeWave("fanfare.wav", 2, rate, 16, data);
}

}  // namespace

int main() {
    const int width = 313, height = 331;
    const Star cardStar(151, 176, 150);
    Image smooth = renderStar(width, height, cardStar, Finish::smooth, background);
    writeBmp("star_smooth.bmp", smooth);
    Image foil = renderStar(width, height, cardStar, Finish::foil, background);
    writeBmp("star_foil.bmp", foil);

    // The icon: the smooth star on a dark rounded tile.
    Image icon = renderStar(128, 128, Star(64, 69, 58), Finish::smooth, {0, 0, 0, 0});
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            double dx = std::max(0.0, std::fabs(x + 0.5 - 64) - 44), dy = std::max(0.0, std::fabs(y + 0.5 - 64) - 44);
            double tile = clamp01(20.5 - std::hypot(dx, dy));
            Colour& c = icon.at(x, y);
            Colour under = {background.r, background.g, background.b, tile};
            c = {c.r * c.a + under.r * (1 - c.a), c.g * c.a + under.g * (1 - c.a), c.b * c.a + under.b * (1 - c.a),
                 std::max(c.a, tile)};
        }
    }
    writeIcon("app.ico", icon);

    writeClick();
    writeFanfare();
    return 0;
}
