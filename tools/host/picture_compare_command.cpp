// zem_host picture-compare A.png B.png [--loose X1,Y1,X2,Y2[:T[/S]]]... [--tolerance T]
// Compares two pictures of the same size pixel by pixel. Outside the loose areas every pixel must
// be equal. Inside each loose area (where antialiased text or lines come from different
// rasterisers) the mean absolute difference per colour channel, over the area, must not exceed
// the area's T, or --tolerance (0..255, default 24). With S, the mean signed difference (A minus
// B) must not exceed S either way: two rasterisers put the same text in slightly different
// pixels but with about the same ink, while a text drawn in one picture and missing or another
// in the other shifts the balance. Prints one line per area and answers 0 when the pictures agree.
// --zoom F: both pictures show the editor at F; the areas are given in its own (100 %)
// coordinates and cover F times as much, rounded outward. --shrink-b N: B is N times A's size
// (the editor at N00 %); each N x N block of B counts as one pixel of their mean.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "subcommands.h"
#include "ui/bitmap.h"

using namespace VSTGUI;

namespace {

OwningPointer<CBitmap> readPicture(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.empty())
        return nullptr;
    OwningPointer<CBitmap> picture(new CBitmap(bytes.data(), bytes.size()));
    return picture->isLoaded() ? std::move(picture) : nullptr;
}

// An area with its own tolerance, or a negative one for the common tolerance, and its bound on
// the signed mean, negative for none.
bool parseArea(const std::string &text, CRect &area, double &tolerance, double &balance)
{
    std::istringstream in(text);
    char c1 = 0, c2 = 0, c3 = 0, colon = 0, slash = 0;
    double l, t, r, b;
    if (!(in >> l >> c1 >> t >> c2 >> r >> c3 >> b) || c1 != ',' || c2 != ',' || c3 != ',')
        return false;
    tolerance = -1;
    balance = -1;
    if (in >> colon && (colon != ':' || !(in >> tolerance) || tolerance < 0))
        return false;
    if (in >> slash && (slash != '/' || !(in >> balance) || balance < 0))
        return false;
    if (in >> c1)
        return false;
    area = CRect(l, t, r, b);
    return !area.isEmpty();
}

int channelDifference(const CColor &a, const CColor &b)
{
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue) +
           std::abs(a.alpha - b.alpha);
}

int signedChannelDifference(const CColor &a, const CColor &b)
{
    return (a.red - b.red) + (a.green - b.green) + (a.blue - b.blue) + (a.alpha - b.alpha);
}

int largestChannelDifference(const CColor &a, const CColor &b)
{
    return std::max(
        {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue), std::abs(a.alpha - b.alpha)});
}

// The picture's pixels row by row, each the mean of a shrink x shrink block.
std::vector<CColor> pixelsOf(const CBitmap &picture, int shrink, int width, int height)
{
    std::vector<CColor> pixels((size_t)width * (size_t)height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int sum[4] = {};
            for (int dy = 0; dy < shrink; ++dy)
                for (int dx = 0; dx < shrink; ++dx) {
                    CColor c;
                    picture.getPixel(x * shrink + dx, y * shrink + dy, c);
                    sum[0] += c.red, sum[1] += c.green, sum[2] += c.blue, sum[3] += c.alpha;
                }
            const int n = shrink * shrink;
            auto mean = [n](int s) { return (uint8_t)((s + n / 2) / n); };
            pixels[(size_t)y * (size_t)width + (size_t)x] = CColor(mean(sum[0]), mean(sum[1]), mean(sum[2]),
                                                                   mean(sum[3]));
        }
    return pixels;
}

int runPictureCompare(const std::vector<std::string> &arguments)
{
    const char *usage =
        "usage: zem_host picture-compare A.png B.png [--loose X1,Y1,X2,Y2[:T[/S]]]... [--tolerance T] [--zoom F] "
        "[--shrink-b N]\n";
    std::vector<std::string> paths;
    std::vector<CRect> loose;
    std::vector<double> tolerances, balances;
    double tolerance = 24, zoom = 1;
    long shrink = 1;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if ((arguments[i] == "--loose" || arguments[i] == "--tolerance" || arguments[i] == "--zoom" ||
             arguments[i] == "--shrink-b") &&
            i + 1 < arguments.size()) {
            const std::string &value = arguments[++i];
            CRect area;
            double own = -1, balance = -1;
            if (arguments[i - 1] == "--tolerance") {
                tolerance = std::strtod(value.c_str(), nullptr);
            } else if (arguments[i - 1] == "--zoom") {
                zoom = std::strtod(value.c_str(), nullptr);
                if (!(zoom >= 1 && zoom <= 3)) {
                    std::fprintf(stderr, "--zoom expects a factor from 1 to 3\n%s", usage);
                    return 2;
                }
            } else if (arguments[i - 1] == "--shrink-b") {
                shrink = std::strtol(value.c_str(), nullptr, 10);
                if (shrink < 1 || shrink > 3) {
                    std::fprintf(stderr, "--shrink-b expects 1, 2 or 3\n%s", usage);
                    return 2;
                }
            } else if (parseArea(value, area, own, balance)) {
                loose.push_back(area);
                tolerances.push_back(own);
                balances.push_back(balance);
            } else {
                std::fprintf(stderr, "bad area %s\n%s", value.c_str(), usage);
                return 2;
            }
        } else {
            paths.push_back(arguments[i]);
        }
    }
    if (paths.size() != 2) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    OwningPointer<CBitmap> a = readPicture(paths[0]), b = readPicture(paths[1]);
    if (!a || !b) {
        std::fprintf(stderr, "cannot read %s\n", (!a ? paths[0] : paths[1]).c_str());
        return 1;
    }
    const int width = (int)a->getWidth(), height = (int)a->getHeight();
    if (width * shrink != (int)b->getWidth() || height * shrink != (int)b->getHeight()) {
        std::printf("sizes differ: %dx%d and %dx%d\n", width, height, (int)b->getWidth(), (int)b->getHeight());
        return 1;
    }
    for (CRect &area : loose)
        area = CRect(std::floor(area.left * zoom), std::floor(area.top * zoom), std::ceil(area.right * zoom),
                     std::ceil(area.bottom * zoom));
    const std::vector<CColor> pixelsOfB = pixelsOf(*b, (int)shrink, width, height);
    std::vector<double> areaSums(loose.size(), 0.0), areaSignedSums(loose.size(), 0.0);
    std::vector<long> areaPixels(loose.size(), 0);
    long strictDifferences = 0;
    int largest = 0;
    CRect differing;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            CColor pa, pb;
            a->getPixel(x, y, pa);
            pb = pixelsOfB[(size_t)y * (size_t)width + (size_t)x];
            const int d = channelDifference(pa, pb);
            bool inLoose = false;
            for (size_t k = 0; k < loose.size(); ++k) {
                if (loose[k].pointInside(CPoint(x, y))) {
                    areaSums[k] += d / 4.0;
                    areaSignedSums[k] += signedChannelDifference(pa, pb) / 4.0;
                    ++areaPixels[k];
                    inLoose = true;
                }
            }
            if (!inLoose && d != 0) {
                ++strictDifferences;
                largest = std::max(largest, largestChannelDifference(pa, pb));
                differing.unite(CRect(x, y, x + 1, y + 1));
            }
        }
    }
    bool agree = strictDifferences == 0;
    std::printf("%ld differing pixels outside the loose areas", strictDifferences);
    if (strictDifferences)
        std::printf(", within %g,%g,%g,%g, by up to %d", differing.left, differing.top, differing.right,
                    differing.bottom, largest);
    std::printf("\n");
    for (size_t k = 0; k < loose.size(); ++k) {
        const double mean = areaPixels[k] ? areaSums[k] / (double)areaPixels[k] : 0.0;
        const double allowed = tolerances[k] >= 0 ? tolerances[k] : tolerance;
        std::printf("area %g,%g,%g,%g: mean difference %.2f of %g allowed", loose[k].left, loose[k].top, loose[k].right,
                    loose[k].bottom, mean, allowed);
        agree = agree && mean <= allowed;
        if (balances[k] >= 0) {
            const double signedMean = areaPixels[k] ? areaSignedSums[k] / (double)areaPixels[k] : 0.0;
            std::printf(", signed mean %+.2f of +-%g allowed", signedMean, balances[k]);
            agree = agree && std::fabs(signedMean) <= balances[k];
        }
        std::printf("\n");
    }
    return agree ? 0 : 1;
}

SubcommandRegistration registration{"picture-compare",
                                    "picture-compare A.png B.png [--loose X1,Y1,X2,Y2[:T[/S]]]... [--tolerance T] "
                                    "[--zoom F] [--shrink-b N]",
                                    runPictureCompare};

}  // namespace
