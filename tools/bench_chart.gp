# The frame-rate table as a picture (tools/bench.py): frames per second, the ratios, peak memory.
# Called with runs (lines: "name" frames/s MB), ratios (lines: "name" ratio), out and heading set;
# 0 stands for what was not measured.
set terminal pngcairo size 1200,1400 font "Liberation Sans,11"
set output out
set style fill solid 0.85 border -1
set grid xtics lc rgb "#dddddd"
set yrange [:] reverse
set offsets 0, 0, 0.5, 0.5
set ytics scale 0 nomirror
set xtics nomirror
unset key
set lmargin 58
set rmargin 8
shown(v, low) = v > 0 ? v : low
said(v, format) = v > 0 ? sprintf(format, v) : " not measured"
bar(row) = row - 0.38
top(row) = row + 0.38
# Windowed, full screen, the ceilings and Wine in their own colours.
colour(name) = strstrt(name, "ceiling") ? 0x9aa5b1 : strstrt(name, "Wine") ? 0xc0504d : \
               strstrt(name, "baseline") ? 0xe3b448 : strstrt(name, "full screen") ? 0x2e7d32 : 0x2f6fb5

set multiplot layout 3, 1 title heading font ",14"

set title "frames per second (log scale; grey: Clear + Present alone, the copy ceiling)"
set logscale x
set xrange [10:*]
set format x "%.0f"
plot runs using (10):0:(10):(shown($2, 10)):(bar($0)):(top($0)):(colour(strcol(1))):yticlabels(1) \
       with boxxyerror lc rgb variable, \
     runs using (shown($2, 10.01)):0:(said($2, " %.0f")) with labels left font ",10"

set title "ratios (dashed: the targets 0.5 and 0.7; 1 is parity)"
unset logscale x
set xrange [0:*]
set format x "%.1f"
set arrow 1 from 0.5, graph 0 to 0.5, graph 1 nohead dt 2 lw 1.5 lc rgb "#c0504d"
set arrow 2 from 0.7, graph 0 to 0.7, graph 1 nohead dt 2 lw 1.5 lc rgb "#c0504d"
set arrow 3 from 1, graph 0 to 1, graph 1 nohead lw 1 lc rgb "#777777"
set logscale x
set xrange [0.1:*]
plot ratios using (0.1):0:(0.1):(shown($2, 0.1)):(bar($0)):(top($0)):yticlabels(1) with boxxyerror lc rgb 0x5b8c5a, \
     ratios using (shown($2, 0.1)):0:(said($2, " %.2f")) with labels left font ",10"
unset arrow

set title "peak resident memory (MB)"
unset logscale x
set xrange [0:*]
set format x "%.0f"
plot runs using (0):0:(0):($3):(bar($0)):(top($0)):(colour(strcol(1))):yticlabels(1) \
       with boxxyerror lc rgb variable, \
     runs using ($3):0:($3 > 0 ? sprintf(" %.0f", $3) : " -") with labels left font ",10"

unset multiplot
