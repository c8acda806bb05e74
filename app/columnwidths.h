#pragma once

namespace ui {

class FlexGrid;

// Widths the player dragged the grids' columns to, kept from one start to the next (section
// "Spalten", twips as text); a stored list that does not fit the grid leaves its designed widths.
void restoreColumnWidths(FlexGrid& pool, FlexGrid& deck);
void storeColumnWidths(const FlexGrid& pool, const FlexGrid& deck);

} // namespace ui
