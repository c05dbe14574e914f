#!/usr/bin/perl
# usage: encode_layers.pl KIND < IN.tmx > OUT.tmx
# Rewrites every CSV layer of a TMX in another of Tiled's layer encodings: base64 raw, or compressed with
# zlib, gzip or zstd (through the zstd program), or "xml", one <tile gid> element a cell.
use strict;
use warnings;
use MIME::Base64;
use Compress::Zlib;
use IO::Compress::Gzip qw(gzip);
use IPC::Open2;

my $kind = shift or die "usage: encode_layers.pl KIND\n";
local $/;
my $tmx = <STDIN>;
$tmx =~ s{<data encoding="csv">(.*?)</data>}{data($1)}gse;
print $tmx;

sub data {
    my @ids = grep { length } split /[,\s]+/, shift;
    return "<data>" . join("", map { "<tile gid=\"$_\"/>" } @ids) . "</data>" if $kind eq "xml";
    my $raw = pack("V*", @ids);
    my $out = $raw;
    if ($kind eq "zlib") {
        $out = compress($raw);
    } elsif ($kind eq "gzip") {
        gzip(\$raw => \$out) or die;
    } elsif ($kind eq "zstd") {
        my $pid = open2(my $from, my $to, "zstd", "-q", "-c");
        binmode $from;
        binmode $to;
        print $to $raw;
        close $to;
        $out = <$from>;
        waitpid $pid, 0;
    }
    my $compression = $kind eq "base64" ? "" : " compression=\"$kind\"";
    return "<data encoding=\"base64\"$compression>" . encode_base64($out, "") . "</data>";
}
