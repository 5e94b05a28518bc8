#pragma once
// Fill the channel panel's two combo boxes (standards and channel numbers) from the TV channel
// data.
class QComboBox;

namespace kavrix {

// Clears `standards` and adds the five TV standards in index order.
void FillTvStandardCombo(QComboBox* standards);
// Refills `channels` with the channel numbers of the standard selected in `standards` and
// selects the first one; an unknown standard leaves it empty with nothing selected.
void FillChannelCombo(const QComboBox* standards, QComboBox* channels);

}  // namespace kavrix
