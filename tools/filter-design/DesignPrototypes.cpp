// Designs the 128- and 256-tap oversampling prototypes and writes source/engine/PrototypeFilters.cpp
// (all four prototypes as full tables) to standard output; a measurement report goes to stderr.
//
// The ratio-2 and ratio-4 prototypes are fixed: their first halves are listed below and mirrored.
// The ratio-8 and ratio-16 prototypes are even-length symmetric low-passes found by constrained
// weighted least squares (with Lawson re-weighting towards equal ripple in the stop band):
//   - DC gain exactly 1,
//   - gain fixed at -3 dB, -6 dB and -21 dB at the listed frequencies,
//   - flat pass band up to 0.3, stop band from 0.6 on (frequencies in units of the host rate;
//     the prototype runs at R times that rate).
//
// Built by the project's CMake; the target regenerate-filters writes the file into the build
// tree (tools/filter-design/PrototypeFilters.cpp there), a test compares it with the committed
// one, and tools/filter-design/regenerate.sh copies it over source/engine/PrototypeFilters.cpp.
//
//   vesk_filter_design [<output file>]     (standard output without one)

#include <Eigen/Dense>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
const float halfRatio2[16] = {
    -0.00032448888f, -0.00059540203f, 0.00054770155f, 0.0031600806f, 0.003150685f, -0.003818592f,
    -0.012281874f, -0.0068119387f, 0.017125072f, 0.033466768f, 0.00589994f, -0.05684182f,
    -0.07919692f, 0.016293664f, 0.20975196f, 0.370763f
};

const float halfRatio4[32] = {
    0.00055654446f, 0.0011387694f, 0.0013313375f, 0.0007819894f, -0.0005324738f, -0.0021522525f,
    -0.0032336921f, -0.0029238288f, -0.00086960784f, 0.0024019075f, 0.0054954705f, 0.0066603534f,
    0.004655709f, -0.00041702378f, -0.0067812973f, -0.011463617f, -0.011535066f, -0.0056541944f,
    0.004814159f, 0.015776047f, 0.021750182f, 0.01822821f, 0.004147477f, -0.016654914f,
    -0.035869785f, -0.043182254f, -0.030057253f, 0.006545223f, 0.062056124f, 0.12481601f,
    0.17928001f, 0.21089174f
};

struct DesignTarget
{
    int ratio;
    double passEdge, stopEdge;       // host-rate units
    double minus3Frequency;          // gain fixed at -3 dB here
    double minus6Frequency;          // ... -6 dB
    double halfRateGainDb;           // gain at f = 0.5
};

constexpr double pi = 3.14159265358979323846;

// Response of an even-length symmetric filter from its first half a[0..M-1] (h[k] = a[k],
// h[N-1-k] = a[k]), at host-rate frequency f: sum 2 a[k] cos (2 pi f / R (k - (N-1)/2)).
double basis (int k, int n, int ratio, double f)
{
    return 2.0 * std::cos (2.0 * pi * f / ratio * (k - 0.5 * (n - 1)));
}

double response (const std::vector<double>& h, int ratio, double f)
{
    const int n = (int) h.size();
    double sum = 0.0;
    for (int k = 0; k < n; ++k)
        sum += h[(size_t) k] * std::cos (2.0 * pi * f / ratio * (k - 0.5 * (n - 1)));
    return sum;
}

double toDb (double gain) { return 20.0 * std::log10 (std::fabs (gain) + 1.0e-300); }
double fromDb (double db) { return std::pow (10.0, db / 20.0); }

std::vector<double> design (const DesignTarget& t)
{
    const int n = 16 * t.ratio, m = n / 2;

    // Grid: pass band and stop band, about 40 points per lobe of the response.
    std::vector<double> freqs, desired;
    std::vector<bool> inStop;
    const double step = 1.0 / (40.0 * 16.0);
    for (double f = 0.0; f <= t.passEdge + 1e-12; f += step) { freqs.push_back (f); desired.push_back (1.0); inStop.push_back (false); }
    for (double f = t.stopEdge; f <= 0.5 * t.ratio + 1e-12; f += step) { freqs.push_back (f); desired.push_back (0.0); inStop.push_back (true); }
    const int g = (int) freqs.size();

    // Equality constraints: DC gain 1 and the three transition-band levels.
    const double cf[4] = { 0.0, t.minus3Frequency, t.minus6Frequency, 0.5 };
    const double cv[4] = { 1.0, fromDb (-3.0), fromDb (-6.0), fromDb (t.halfRateGainDb) };
    Eigen::MatrixXd c (4, m);
    Eigen::VectorXd d (4);
    for (int i = 0; i < 4; ++i)
    {
        for (int k = 0; k < m; ++k)
            c (i, k) = basis (k, n, t.ratio, cf[i]);
        d (i) = cv[i];
    }

    // a = a0 + Z z, with a0 a particular solution and Z spanning the null space of c.
    Eigen::VectorXd a0 = c.colPivHouseholderQr().solve (d);
    Eigen::HouseholderQR<Eigen::MatrixXd> qr (c.transpose());
    Eigen::MatrixXd q = qr.householderQ() * Eigen::MatrixXd::Identity (m, m);
    Eigen::MatrixXd z = q.rightCols (m - 4);

    Eigen::MatrixXd a (g, m);
    Eigen::VectorXd dv (g);
    for (int i = 0; i < g; ++i)
    {
        for (int k = 0; k < m; ++k)
            a (i, k) = basis (k, n, t.ratio, freqs[(size_t) i]);
        dv (i) = desired[(size_t) i];
    }
    const Eigen::MatrixXd az = a * z;
    const Eigen::VectorXd r0 = dv - a * a0;

    // Each band's error is measured against its tolerance (pass band 0.01 dB, stop band -75 dB);
    // Lawson re-weighting drives that relative error towards equal ripple over both bands.
    const double passTolerance = fromDb (0.01) - 1.0, stopTolerance = fromDb (-75.0);
    Eigen::VectorXd tolerance (g);
    for (int i = 0; i < g; ++i)
        tolerance (i) = inStop[(size_t) i] ? stopTolerance : passTolerance;
    Eigen::VectorXd lawson = Eigen::VectorXd::Ones (g);

    Eigen::VectorXd coeffs = a0;
    for (int iteration = 0; iteration < 80; ++iteration)
    {
        const Eigen::VectorXd sw = lawson.cwiseSqrt().cwiseQuotient (tolerance);
        const Eigen::VectorXd zz = (sw.asDiagonal() * az).colPivHouseholderQr().solve (sw.asDiagonal() * r0);
        coeffs = a0 + z * zz;

        const Eigen::VectorXd relativeError = (a * coeffs - dv).cwiseAbs().cwiseQuotient (tolerance);
        lawson = lawson.cwiseProduct (relativeError).cwiseMax (1.0e-12);
        lawson *= (double) g / lawson.sum();
    }

    std::vector<double> h ((size_t) n);
    double dc = 0.0;
    for (int k = 0; k < m; ++k)
    {
        h[(size_t) k] = h[(size_t) (n - 1 - k)] = coeffs (k);
        dc += 2.0 * coeffs (k);
    }
    for (auto& v : h)
        v /= dc;
    return h;
}

// First crossing of a level (dB), searched from f = 0.2 upwards on a fine grid, then bisected.
double crossing (const std::vector<double>& h, int ratio, double levelDb)
{
    double f = 0.2;
    while (toDb (response (h, ratio, f + 1e-4)) > levelDb)
        f += 1e-4;
    double lo = f, hi = f + 1e-4;
    for (int i = 0; i < 50; ++i)
    {
        const double mid = 0.5 * (lo + hi);
        (toDb (response (h, ratio, mid)) > levelDb ? lo : hi) = mid;
    }
    return lo;
}

std::string report (const char* name, const std::vector<double>& h, int ratio)
{
    double rippleMax = -1e9, rippleMin = 1e9;
    for (double f = 0.0; f <= 0.3; f += 1e-4)
    {
        const double db = toDb (response (h, ratio, f));
        rippleMax = std::fmax (rippleMax, db);
        rippleMin = std::fmin (rippleMin, db);
    }
    auto stopMax = [&] (double from)
    {
        double worst = -1e9;
        for (double f = from; f <= 0.5 * ratio; f += 1e-4)
            worst = std::fmax (worst, toDb (response (h, ratio, f)));
        return worst;
    };
    double transitionMax = -1e9;
    for (double f = 0.3; f <= 0.6; f += 1e-4)
        transitionMax = std::fmax (transitionMax, toDb (response (h, ratio, f)));
    double dc = 0.0;
    for (double v : h)
        dc += v;
    char text[512];
    std::snprintf (text, sizeof (text),
                   "// %s: DC gain %.9f; 0..0.3: %+.4f..%+.4f dB; 0.3..0.6 peak %+.4f dB;\n"
                   "//   -3 dB at %.4f, -6 dB at %.4f, %.2f dB at 0.5;\n"
                   "//   stop band max from 0.52: %.2f, 0.55: %.2f, 0.6: %.2f, 0.7: %.2f dB\n",
                   name, dc, rippleMin, rippleMax, transitionMax, crossing (h, ratio, -3.0),
                   crossing (h, ratio, -6.0), toDb (response (h, ratio, 0.5)), stopMax (0.52),
                   stopMax (0.55), stopMax (0.6), stopMax (0.7));
    return text;
}

// Shortest decimal text that reads back as the same float.
std::string floatLiteral (float v)
{
    char buffer[64];
    for (int digits = 6; digits <= 9; ++digits)
    {
        std::snprintf (buffer, sizeof (buffer), "%.*g", digits, (double) v);
        if (std::strtof (buffer, nullptr) == v)
            break;
    }
    std::string s (buffer);
    if (s.find_first_of (".e") == std::string::npos)
        s += ".0";
    return s + "f";
}

void emitTable (const char* name, const std::vector<float>& taps)
{
    std::printf ("alignas (64) const float %s[%d] = {\n", name, (int) taps.size());
    std::string line = "   ";
    for (size_t i = 0; i < taps.size(); ++i)
    {
        std::string item = " " + floatLiteral (taps[i]) + (i + 1 < taps.size() ? "," : "");
        if (line.size() + item.size() > 100)
        {
            std::printf ("%s\n", line.c_str());
            line = "   ";
        }
        line += item;
    }
    std::printf ("%s\n};\n\n", line.c_str());
}

std::vector<float> mirrored (const float* half, int m)
{
    std::vector<float> taps ((size_t) (2 * m));
    for (int k = 0; k < m; ++k)
        taps[(size_t) k] = taps[(size_t) (2 * m - 1 - k)] = half[k];
    return taps;
}

std::vector<float> toFloat (const std::vector<double>& h)
{
    // Round each symmetric pair identically, then put the rounding residue of the DC gain on the
    // centre pair so that the float taps still sum to 1 as closely as float allows.
    std::vector<float> taps (h.size());
    const size_t n = h.size();
    double sum = 0.0;
    for (size_t k = 0; k < n / 2; ++k)
    {
        taps[k] = taps[n - 1 - k] = (float) h[k];
        sum += 2.0 * (double) taps[k];
    }
    const size_t centre = n / 2 - 1;
    taps[centre] = taps[n - 1 - centre] = (float) ((double) taps[centre] + 0.5 * (1.0 - sum));
    return taps;
}

std::vector<double> toDouble (const std::vector<float>& taps)
{
    return std::vector<double> (taps.begin(), taps.end());
}
} // namespace

int main (int argc, char** argv)
{
    if (argc > 1 && std::freopen (argv[1], "w", stdout) == nullptr)
    {
        std::perror (argv[1]);
        return 1;
    }

    const std::vector<float> h2 = mirrored (halfRatio2, 16);
    const std::vector<float> h4 = mirrored (halfRatio4, 32);
    // With 128 taps, fixing -6 dB at 0.432 as well as -3 dB at 0.402 and -21 dB at 0.5 leaves only
    // about -71 dB in the stop band; moving the -6 dB point to 0.431 buys -76 dB with a 0.008 dB
    // pass band.
    const std::vector<float> h8 = toFloat (design ({ 8, 0.3, 0.6, 0.402, 0.431, -21.0 }));
    const std::vector<float> h16 = toFloat (design ({ 16, 0.3, 0.6, 0.404, 0.432, -21.0 }));

    const std::string figures = report ("R = 2 ", toDouble (h2), 2) + report ("R = 4 ", toDouble (h4), 4)
                              + report ("R = 8 ", toDouble (h8), 8) + report ("R = 16", toDouble (h16), 16);
    std::fputs (figures.c_str(), stderr);

    std::printf ("// Generated by tools/filter-design/DesignPrototypes.cpp (cmake target regenerate-filters).\n"
                 "// Do not edit by hand.\n"
                 "//\n"
                 "// Oversampling prototypes, symmetric, 16 R taps at R times the host rate. Measured\n"
                 "// responses of the float tables (frequencies in units of the host rate):\n"
                 "%s\n"
                 "#include \"PrototypeFilters.h\"\n\n"
                 "namespace\n{\n", figures.c_str());
    emitTable ("prototype2", h2);
    emitTable ("prototype4", h4);
    emitTable ("prototype8", h8);
    emitTable ("prototype16", h16);
    std::printf ("} // namespace\n\n"
                 "const float* prototypeFilter (int ratio) noexcept\n"
                 "{\n"
                 "    switch (ratio)\n"
                 "    {\n"
                 "        case 2:  return prototype2;\n"
                 "        case 4:  return prototype4;\n"
                 "        case 8:  return prototype8;\n"
                 "        case 16: return prototype16;\n"
                 "        default: return nullptr;\n"
                 "    }\n"
                 "}\n\n"
                 "int prototypeLength (int ratio) noexcept\n"
                 "{\n"
                 "    return (ratio == 2 || ratio == 4 || ratio == 8 || ratio == 16) ? 16 * ratio : 0;\n"
                 "}\n");
    return 0;
}
