// Taking the values of an accepted settings dialog into a window: each
// setting is stored only when it changed, and the window learns whether any
// did (it then computes and draws again).
#pragma once

#include <cmath>

// Stores value into field when they differ; true when it did.
template <class T>
bool StoreIfChanged(T& field, const T& value) {
  if (value == field) return false;
  field = value;
  return true;
}

// Stores value into field when they lie more than tolerance apart (a typed
// number that only rounds differently is no change); true when it did.
template <class T>
bool StoreIfApart(T& field, T value, T tolerance) {
  if (!(std::fabs(value - field) > tolerance)) return false;
  field = value;
  return true;
}
