#pragma once
// The icons live in a static library: their resource must be registered explicitly.
void zelmotInitIconResources();
