// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prints "materials <N> ms (10000 loops)": valve settings and pump duty of
// every manifold of a 10,000-loop project and its bill of materials with
// the cutting plan, best of several rounds; on the same line the cutting
// plan's purchased length against its lower bound on that project and the
// worst of a set of seeded random projects.
void runMaterialsBench();
