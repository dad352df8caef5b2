#pragma once

// The colour arithmetic the wall's measures share: Y, Cb, Cr (distances there weigh luma and
// tint as the eye does), a quantile and the normal equations of a least-squares fit.

#include <QRgb>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace WallColour {

using Colour = std::array<double, 3>;

inline Colour ycc(QRgb c)
{
    const double r = qRed(c), g = qGreen(c), b = qBlue(c);
    return { 0.299 * r + 0.587 * g + 0.114 * b, -0.168736 * r - 0.331264 * g + 0.5 * b,
        0.5 * r - 0.418688 * g - 0.081312 * b };
}

inline Colour rgb(const Colour &v)
{
    return { v[0] + 1.402 * v[2], v[0] - 0.344136 * v[1] - 0.714136 * v[2], v[0] + 1.772 * v[1] };
}

inline double quantile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    const auto at = values.begin() + qsizetype(share * double(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// Solves N normal equations (the right-hand side in the last column) in place; false when
// singular.
template<int N> bool solve(std::array<std::array<double, N + 1>, N> &m)
{
    for (int col = 0; col < N; ++col) {
        int pivot = col;
        for (int row = col + 1; row < N; ++row)
            if (std::abs(m[row][col]) > std::abs(m[pivot][col]))
                pivot = row;
        if (std::abs(m[pivot][col]) < 1e-12)
            return false;
        std::swap(m[col], m[pivot]);
        for (int row = 0; row < N; ++row) {
            if (row == col)
                continue;
            const double f = m[row][col] / m[col][col];
            for (int k = col; k <= N; ++k)
                m[row][k] -= f * m[col][k];
        }
    }
    for (int row = 0; row < N; ++row)
        m[row][N] /= m[row][row];
    return true;
}

// Per channel of Y, Cb and Cr, the least-squares fit of the samples' `value` over their N
// `terms`, made twice: the second time without the samples far off the first (hair the outline
// missed, a lamp, a mark on the wall), so they do not bend the wall's own light. `off` gets
// each sample's distance to the fit; nothing when the system is singular.
template<int N, typename Sample>
std::optional<std::array<std::array<double, N>, 3>> fitTwice(
    const std::vector<Sample> &samples, std::vector<double> &off)
{
    std::vector<bool> used(samples.size(), true);
    off.assign(samples.size(), 0);
    std::array<std::array<double, N>, 3> fitted {};
    for (int round = 0; round < 2; ++round) {
        for (int c = 0; c < 3; ++c) {
            std::array<std::array<double, N + 1>, N> normal {};
            for (size_t i = 0; i < samples.size(); ++i) {
                if (!used[i])
                    continue;
                for (int a = 0; a < N; ++a) {
                    for (int b = 0; b < N; ++b)
                        normal[a][b] += samples[i].terms[a] * samples[i].terms[b];
                    normal[a][N] += samples[i].terms[a] * samples[i].value[c];
                }
            }
            for (int a = 0; a < N; ++a)
                normal[a][a] += 1e-6; // a strip of one row stays solvable
            if (!solve<N>(normal))
                return std::nullopt;
            for (int a = 0; a < N; ++a)
                fitted[c][a] = normal[a][N];
        }
        for (size_t i = 0; i < samples.size(); ++i) {
            double squares = 0;
            for (int c = 0; c < 3; ++c) {
                double d = samples[i].value[c];
                for (int a = 0; a < N; ++a)
                    d -= fitted[c][a] * samples[i].terms[a];
                squares += d * d;
            }
            off[i] = std::sqrt(squares);
        }
        const double typical = quantile(off, 0.5);
        for (size_t i = 0; i < samples.size(); ++i)
            used[i] = off[i] <= 3 * typical + 1;
    }
    return fitted;
}

} // namespace WallColour
