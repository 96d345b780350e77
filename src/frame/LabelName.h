#pragma once
// What a screen reader calls a control that has no text of its own: the text of the label before
// it, as the label reads without its keyboard marks.
#include <string>

// The label's text (code page 932) without its access key and trailing colon: "&" marks go
// ("&&" stays one "&"), a mark in brackets at the end ("(&N)") goes with its brackets, and a
// closing ":" or "：" and the spaces around the text go.
std::string NameOfLabel(const std::string& label);

// Whether a static text reads as the label of the control after it: it names an access key or
// ends in a colon (a unit such as "Pixels" or a sign such as "+" does neither).
bool IsControlLabel(const std::string& text);
