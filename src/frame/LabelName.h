#pragma once
// What a screen reader calls a control that has no text of its own: the text of the label before
// it, as the label reads without its keyboard marks.
#include <string>
#include <vector>

// The label's text (code page 932) as the system reads a button's: its "&" marks go ("&&" stays
// one "&"; "名称(&N)" reads "名称(N)"), and so do a closing ":" or "：" and the spaces around it.
std::string NameOfLabel(const std::string& label);

// Whether a static text reads as the label of the control after it: it names an access key or
// ends in a colon (a unit such as "Pixels" or a sign such as "+" does neither).
bool IsControlLabel(const std::string& text);

// What a screen reader reads for a row of a grid: each cell that holds text after its column's
// header ("Name メモ帳"), or alone under a header without text, the cells joined by ", ".
std::string NameOfRow(const std::vector<std::string>& headers,
                      const std::vector<std::string>& cells);
