#pragma once

#include "data/LumetraDoc.h"

#include <cmath>
#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lumetra::test {

// The normal equations built one entry at a time, exactly as the procedure reads: every entry's
// own sum of pow(x, exponent) over the pairs in pair order. The engine must match it bit for bit.
struct ReferenceNormal {
    double normal[kMaxCoefs][kMaxCoefs] = {};
    double rhs[kMaxCoefs] = {};
};

inline ReferenceNormal BuildReferenceNormal(const std::vector<double>& x,
                                            const std::vector<double>& y, int n) {
    ReferenceNormal r;
    const int m = n + 1;
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= m; ++j) {
            if (i == m && j == m) {
                r.normal[i - 1][j - 1] = double(x.size());
                continue;
            }
            const double power = double(2 * n - (i - 1) - (j - 1));
            double sum = 0.0;
            for (size_t k = 0; k < x.size(); ++k)
                sum += std::pow(x[k], power);
            r.normal[i - 1][j - 1] = sum;
        }
    for (int i = 1; i <= n; ++i) {
        double sum = 0.0;
        for (size_t k = 0; k < x.size(); ++k)
            sum += std::pow(x[k], double(n - i + 1)) * y[k];
        r.rhs[i - 1] = sum;
    }
    double sum = 0.0;
    for (double v : y)
        sum += v;
    r.rhs[n] = sum;
    return r;
}

// A NIST reference data set: "x,y" lines after a header.
inline std::vector<CXYdata> ReadNistPairs(const std::string& path) {
    std::vector<CXYdata> pairs;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        CXYdata p;
        char comma = 0;
        if (fields >> p.m_dX >> comma >> p.m_dY)
            pairs.push_back(p);
    }
    return pairs;
}

} // namespace lumetra::test
