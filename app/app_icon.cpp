#include "app/app_icon.h"

#include "app/app_icon_data.h"

const lv::WindowIcon& SorvekIcon() {
  static const lv::WindowIcon icon = [] {
    lv::WindowIcon i;
    for (const CWIconPng& png : kSorvekIconPngs) {
      i.AddPng(png.data, png.size);
    }
    return i;
  }();
  return icon;
}
