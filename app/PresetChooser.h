#pragma once

class PresetList;
class TMultiColComboBox;

// Gives the preset list its nine coloured columns and the codec list its two, with their font,
// row height and drop-down length.
void SetUpPresetLists(TMultiColComboBox& presets, TMultiColComboBox& codecs);

// Fills the preset list with the header row and the presets, and the codec list with the codec
// names. Neither list has a selection afterwards.
void FillPresetLists(TMultiColComboBox& presets, TMultiColComboBox& codecs, const PresetList& list);
