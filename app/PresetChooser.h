#pragma once

class PresetList;
class TMultiColComboBox;

// Gives the preset list its nine coloured columns, with their font, row height and drop-down
// length.
void SetUpPresetList(TMultiColComboBox& presets);

// Fills the preset list with the header row and the presets; it has no selection afterwards.
void FillPresetList(TMultiColComboBox& presets, const PresetList& list);
