#pragma once
// Feeding the Graphs window: one sample of every live measurement to every trace of all
// seven charts, shown or not, and the legends rewritten with the newest values.

#include <array>

namespace kestrum {

class frmGraph;

// The master timer's graph task, every gGraphPeriodMs while gGraphFormOpen: the open
// window hands itself in. Allocates nothing once the charts' histories and the legend
// texts have their storage.
void UpdateLiveGraphs(frmGraph& window);

}  // namespace kestrum
