// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zorva-calc on generated CSV tables of designs: designs per second and peak
// resident memory at two table sizes, against the goal of 80 % of the cores
// each doing one Calculate run after another.

void runCliBench();
