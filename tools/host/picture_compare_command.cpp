// zem_host picture-compare A.png B.png [--loose X1,Y1,X2,Y2[:T[/S]]]... [--tolerance T]
// Compares two pictures of the same size pixel by pixel. Outside the loose areas every pixel must
// be equal. Inside each loose area (where antialiased text or lines come from different
// rasterisers) the mean absolute difference per colour channel, over the area, must not exceed
// the area's T, or --tolerance (0..255, default 24). With S, the mean signed difference (A minus
// B) must not exceed S either way: two rasterisers put the same text in slightly different
// pixels but with about the same ink, while a text drawn in one picture and missing or another
// in the other shifts the balance. Prints one line per area and answers 0 when the pictures agree.
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

int runPictureCompare(const std::vector<std::string> &arguments)
{
    const char *usage =
        "usage: zem_host picture-compare A.png B.png [--loose X1,Y1,X2,Y2[:T[/S]]]... [--tolerance T]\n";
    std::vector<std::string> paths;
    std::vector<CRect> loose;
    std::vector<double> tolerances, balances;
    double tolerance = 24;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if ((arguments[i] == "--loose" || arguments[i] == "--tolerance") && i + 1 < arguments.size()) {
            const std::string &value = arguments[++i];
            CRect area;
            double own = -1, balance = -1;
            if (arguments[i - 1] == "--tolerance") {
                tolerance = std::strtod(value.c_str(), nullptr);
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
    if (width != (int)b->getWidth() || height != (int)b->getHeight()) {
        std::printf("sizes differ: %dx%d and %dx%d\n", width, height, (int)b->getWidth(), (int)b->getHeight());
        return 1;
    }
    std::vector<double> areaSums(loose.size(), 0.0), areaSignedSums(loose.size(), 0.0);
    std::vector<long> areaPixels(loose.size(), 0);
    long strictDifferences = 0;
    int largest = 0;
    CRect differing;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            CColor pa, pb;
            a->getPixel(x, y, pa);
            b->getPixel(x, y, pb);
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
                                    "picture-compare A.png B.png [--loose X1,Y1,X2,Y2[:T[/S]]]... [--tolerance T]",
                                    runPictureCompare};

}  // namespace
