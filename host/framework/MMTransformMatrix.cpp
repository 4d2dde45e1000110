#include "host/framework/MMTransformMatrix.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

using Mat = double[4][4];

void SetIdentity(Mat& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = r == c ? 1.0 : 0.0;
}

void Multiply(const Mat& a, const Mat& b, Mat& out) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c] + a[r][3] * b[3][c];
}

double ColumnDot(const Mat& m, int i, int j) { return m[0][i] * m[0][j] + m[1][i] * m[1][j] + m[2][i] * m[2][j]; }

// A pivot smaller than this fraction of the largest entry of its column in the original matrix
// means the column is, to about 14 digits, a combination of the columns before it. Measuring
// per column keeps the test blind to the units of each input axis, and keeps a large
// translation from making a small linear part look singular.
constexpr double kSingularRelTolerance = 1e-14;

}  // namespace

MMTransformMatrix::MMTransformMatrix(const double rowMajor[16]) : MMTransformMatrix() { SetMatrix(rowMajor); }

void MMTransformMatrix::SetMatrix(const double rowMajor[16]) {
  std::memcpy(matrix, rowMajor, sizeof matrix);
  _Classify();
  UpdateInverse();
}

bool MMTransformMatrix::_Map(const double (&m)[4][4], MMPoint3d<double>& out, const MMPoint3d<double>& in,
                             bool asVector) const {
  if (kind == eIdentity) {
    out = in;
    return true;
  }
  const double x = in.x, y = in.y, z = in.z;
  double rx = m[0][0] * x + m[0][1] * y + m[0][2] * z;
  double ry = m[1][0] * x + m[1][1] * y + m[1][2] * z;
  double rz = m[2][0] * x + m[2][1] * y + m[2][2] * z;
  if (!asVector) {
    rx += m[0][3];
    ry += m[1][3];
    rz += m[2][3];
  }
  if (projective) {
    double w = m[3][0] * x + m[3][1] * y + m[3][2] * z;
    if (!asVector) w += m[3][3];
    if (w == 0.0) throw MMTransformException{MMTransformException::eZeroWeight};
    rx /= w;
    ry /= w;
    rz /= w;
  }
  out = {rx, ry, rz};
  return true;
}

bool MMTransformMatrix::TransformPoint(MMPoint3d<double>& out, const MMPoint3d<double>& in, bool asVector) const {
  return _Map(matrix, out, in, asVector);
}

bool MMTransformMatrix::InverseTransformPoint(MMPoint3d<double>& out, const MMPoint3d<double>& in,
                                              bool asVector) const {
  return inverseValid && _Map(inverse, out, in, asVector);
}

MMTransformMatrix* MMTransformMatrix::Clone() const { return new MMTransformMatrix(*this); }

void MMTransformMatrix::GetMatrixFloat(float m[16]) const {
  for (int i = 0; i < 16; ++i) m[i] = static_cast<float>(matrix[i / 4][i % 4]);
}

void MMTransformMatrix::GetMatrixDouble(double m[16]) const { std::memcpy(m, matrix, sizeof matrix); }

bool MMTransformMatrix::Invert() {
  if (!inverseValid) return false;
  std::swap(matrix, inverse);
  return true;
}

void MMTransformMatrix::Transpose() {
  for (int r = 0; r < 4; ++r)
    for (int c = r + 1; c < 4; ++c) std::swap(matrix[r][c], matrix[c][r]);
  _Classify();
  UpdateInverse();
}

void MMTransformMatrix::_Classify() {
  const Mat& m = matrix;
  projective = !(m[3][0] == 0.0 && m[3][1] == 0.0 && m[3][2] == 0.0 && m[3][3] == 1.0);
  bool offDiagonalZero = true, blockIdentity = true;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      if (r != c && m[r][c] != 0.0) offDiagonalZero = false;
      if (r < 3 && c < 3 && m[r][c] != (r == c ? 1.0 : 0.0)) blockIdentity = false;
    }
  const bool noTranslation = m[0][3] == 0.0 && m[1][3] == 0.0 && m[2][3] == 0.0;

  if (blockIdentity && !projective) {
    kind = noTranslation ? eIdentity : eTranslation;
  } else if (offDiagonalZero && m[1][1] == m[0][0] && m[2][2] == m[0][0] && m[3][3] == 1.0) {
    kind = eUniformScale;
  } else if (offDiagonalZero && m[3][3] == 1.0) {
    kind = eDiagonal;
  } else {
    const double l0 = ColumnDot(m, 0, 0), l1 = ColumnDot(m, 1, 1), l2 = ColumnDot(m, 2, 2);
    const double d01 = ColumnDot(m, 0, 1), d02 = ColumnDot(m, 0, 2), d12 = ColumnDot(m, 1, 2);
    auto within = [](double v, double tol) { return std::fabs(v) <= tol; };
    const double rt = kRigidTolerance, st = kSimilarityTolerance;
    if (!projective && within(l0 - 1, rt) && within(l1 - 1, rt) && within(l2 - 1, rt) && within(d01, rt) &&
        within(d02, rt) && within(d12, rt)) {
      kind = eRigid;
    } else if (!projective && noTranslation && within(l1 - l0, st) && within(l2 - l0, st) && within(d01, st) &&
               within(d02, st) && within(d12, st)) {
      kind = eSimilarity;
    } else {
      kind = eGeneral;
    }
  }
}

bool MMTransformMatrix::_UpdateInverse() {
  bool ok = false;
  switch (kind) {
    case eIdentity: ok = _InvertIdentity(); break;
    case eTranslation: ok = _InvertTranslation(); break;
    case eRigid: ok = _InvertRigid(); break;
    case eSimilarity: ok = _InvertSimilarity(); break;
    case eUniformScale: ok = _InvertUniformScale(); break;
    case eDiagonal: ok = _InvertDiagonal(); break;
    default: ok = _InvertGeneral(); break;
  }
  inverseValid = ok;
  return ok;
}

bool MMTransformMatrix::_InvertIdentity() {
  SetIdentity(inverse);
  return true;
}

bool MMTransformMatrix::_InvertTranslation() {
  SetIdentity(inverse);
  for (int r = 0; r < 3; ++r) inverse[r][3] = -matrix[r][3];
  return true;
}

bool MMTransformMatrix::_InvertRigid() {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) inverse[r][c] = matrix[c][r];
  for (int r = 0; r < 3; ++r)
    inverse[r][3] = -(inverse[r][0] * matrix[0][3] + inverse[r][1] * matrix[1][3] + inverse[r][2] * matrix[2][3]);
  inverse[3][0] = inverse[3][1] = inverse[3][2] = 0.0;
  inverse[3][3] = 1.0;
  return true;
}

bool MMTransformMatrix::_InvertSimilarity() {
  const double s2 = ColumnDot(matrix, 0, 0);
  if (s2 == 0.0) return false;
  SetIdentity(inverse);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) inverse[r][c] = matrix[c][r] / s2;
  return true;
}

bool MMTransformMatrix::_InvertUniformScale() {
  if (matrix[0][0] == 0.0) return false;
  SetIdentity(inverse);
  inverse[0][0] = inverse[1][1] = inverse[2][2] = 1.0 / matrix[0][0];
  return true;
}

bool MMTransformMatrix::_InvertDiagonal() {
  for (int i = 0; i < 4; ++i)
    if (matrix[i][i] == 0.0) return false;
  SetIdentity(inverse);
  for (int i = 0; i < 4; ++i) inverse[i][i] = 1.0 / matrix[i][i];
  return true;
}

// Gauss-Jordan elimination with partial pivoting on the matrix beside an identity. `inverse` is
// written only on success.
bool MMTransformMatrix::_InvertGeneral() {
  Mat a, b;
  std::memcpy(a, matrix, sizeof a);
  SetIdentity(b);
  double columnScale[4] = {0, 0, 0, 0};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      if (!std::isfinite(a[r][c])) return false;
      columnScale[c] = std::max(columnScale[c], std::fabs(a[r][c]));
    }
  for (int col = 0; col < 4; ++col) {
    int p = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[p][col])) p = r;
    const double pivot = a[p][col];
    if (pivot == 0.0 || std::fabs(pivot) < kSingularRelTolerance * columnScale[col]) return false;
    std::swap(a[p], a[col]);
    std::swap(b[p], b[col]);
    const double inv = 1.0 / pivot;
    for (int c = 0; c < 4; ++c) {
      a[col][c] *= inv;
      b[col][c] *= inv;
    }
    for (int r = 0; r < 4; ++r) {
      const double f = a[r][col];
      if (r == col || f == 0.0) continue;
      for (int c = 0; c < 4; ++c) {
        a[r][c] -= f * a[col][c];
        b[r][c] -= f * b[col][c];
      }
    }
  }
  std::memcpy(inverse, b, sizeof inverse);
  return true;
}

bool MMTransformMatrix::SetRotation(const MMPoint3d<double>& axis, double angle, const MMPoint3d<double>& center) {
  const double length = axis.Length();
  if (!(length > kMinAxisLength)) return false;  // also refuses a NaN axis
  const double x = axis.x / length, y = axis.y / length, z = axis.z / length;
  const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  Mat& m = matrix;
  m[0][0] = x * x * t + c;
  m[0][1] = x * y * t - z * s;
  m[0][2] = x * z * t + y * s;
  m[1][0] = x * y * t + z * s;
  m[1][1] = y * y * t + c;
  m[1][2] = y * z * t - x * s;
  m[2][0] = x * z * t - y * s;
  m[2][1] = y * z * t + x * s;
  m[2][2] = z * z * t + c;
  _Classify();
  MMPoint3d<double> r;
  TransformPoint(r, center, true);
  m[0][3] = center.x - r.x;
  m[1][3] = center.y - r.y;
  m[2][3] = center.z - r.z;
  _Classify();
  UpdateInverse();
  return true;
}

void MMTransformMatrix::SetProduct(const MMTransformMatrix& outer, const MMTransformMatrix& inner) {
  Mat product;
  Multiply(outer.matrix, inner.matrix, product);
  const bool chained = outer.inverseValid && inner.inverseValid;
  Mat chainedInverse;
  if (chained) Multiply(inner.inverse, outer.inverse, chainedInverse);
  std::memcpy(matrix, product, sizeof matrix);
  _Classify();
  if (kind == eGeneral && chained) {
    std::memcpy(inverse, chainedInverse, sizeof inverse);
    inverseValid = true;
  } else {
    UpdateInverse();
  }
}
