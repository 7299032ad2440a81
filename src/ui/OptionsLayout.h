#pragma once

struct MainForm;

// Captions, tool tips, input limits and places of every control of the options panel (the values
// the controls start with are the settings' design defaults). Run once at start-up, when the
// window's font can be measured. The panel starts narrow and closed, with the System Log
// controls hidden.
void SetupOptionsControls(MainForm& F);

// Places every control of the panel in twips, relative to the panel's top left corner, sized to
// its caption in the window's font. Controls that only matter in System Log mode sit right of the
// divider at OptionsNarrowWidth, so the narrow panel simply cuts them off. Sets the panel's
// height and its narrow and full widths; keeps the current width choice.
void LayoutOptionsPanel(MainForm& F);
