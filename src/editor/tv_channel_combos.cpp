#include "editor/tv_channel_combos.hpp"

#include <QComboBox>

#include "catalogue/tv_channels.hpp"

namespace kavrix {

void FillTvStandardCombo(QComboBox* standards) {
  if (!standards) return;
  standards->clear();
  for (std::string_view name : TvStandardNames)
    standards->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void FillChannelCombo(const QComboBox* standards, QComboBox* channels) {
  if (!channels) return;
  channels->clear();
  const int k = standards ? standards->currentIndex() : -1;
  const auto& items = TvChannelItems(k);
  for (const std::string& item : items) channels->addItem(QString::fromStdString(item));
  if (!items.empty()) channels->setCurrentIndex(0);
}

}  // namespace kavrix
