#pragma once
// Registers TEDBImage with the form reader: AutoDisplay, BorderStyle, Ctl3D,
// Center, Color, DataField, DataSource (a reference, also to another module),
// ParentColor, QuickDraw, ReadOnly, ShrinkToFit, ZoomToFit and
// OnLoadCustomImage, besides the control properties. Registers the standard
// controls first; safe to call again.

void RegisterEDBImageClass();
