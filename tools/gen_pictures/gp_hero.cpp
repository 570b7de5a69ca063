// Kestrune picture generator: Plimby, the hero. One figure, designed once: a farm child
// in a straw sun hat with a green band, ginger hair, a mustard shirt, blue
// overalls and brown boots, carrying a wicker basket. Every frame is the same figure in
// another pose: a pose is a handful of joint positions, and the limbs follow them.
#include <cmath>

#include "gp.h"

namespace {

const double LW = 0.0105;     // outline width in cell units (about 4 atlas pixels)
const double GROUND = 0.972;  // where the boots touch the floor
const double HEAD_R = 0.118;
const double TORSO = 0.2;  // hip to neck
const double THIGH = 0.1, SHIN = 0.098;
const double UPPER_ARM = 0.155, FOREARM = 0.145;
const double BASKET_W = 0.20, BASKET_H = 0.088;

enum Eyes { EYES_OPEN, EYES_BLINK, EYES_HAPPY, EYES_DIZZY, EYES_SAD };
enum Mouth { MOUTH_SMILE, MOUTH_GRIN, MOUTH_WOBBLY, MOUTH_SAD, MOUTH_O };

struct Pt {
    double x, y;
};

struct Pose {
    Pt hip;
    double lean;  // torso angle, radians; positive leans forward (towards the right)
    double tilt;  // head angle on top of the torso; positive looks up
    Pt back_ankle, front_ankle;
    double back_heel, front_heel;  // boot rotation about the toe, radians (tiptoe)
    int knee_dir;                  // +1 knees forward (standing), -1 knees up (sitting)
    Pt near_hand, far_hand;
    int near_elbow, far_elbow;  // +1 elbow below the shoulder-hand line, -1 above
    int eyes, mouth;
    bool basket;
    Pt basket_at;  // centre of the rim
    double basket_tilt;
    bool basket_upside_down;
    bool basket_in_front_of_arm;
    double tear;  // < 0: none; else how far the tear has run (0..1)
    bool stars;
    double shadow_alpha;
};

Pt rot(Pt p, double a) { return Pt{p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a)}; }
Pt add(Pt a, Pt b) { return Pt{a.x + b.x, a.y + b.y}; }

// Two-bone reach: the middle joint for a limb from a to b with the given lengths.
Pt joint(Pt a, Pt b, double l1, double l2, int dir) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double d = std::sqrt(dx * dx + dy * dy);
    if (d > l1 + l2 - 1e-4) d = l1 + l2 - 1e-4;
    if (d < std::fabs(l1 - l2) + 1e-4) d = std::fabs(l1 - l2) + 1e-4;
    double theta = std::atan2(dy, dx);
    double c = (l1 * l1 + d * d - l2 * l2) / (2 * l1 * d);
    if (c > 1) c = 1;
    if (c < -1) c = -1;
    double alpha = std::acos(c);
    double ang = theta + dir * alpha;
    return Pt{a.x + l1 * std::cos(ang), a.y + l1 * std::sin(ang)};
}

// Clamps b to within reach of a.
Pt reach(Pt a, Pt b, double len) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double d = std::sqrt(dx * dx + dy * dy);
    if (d <= len) return b;
    return Pt{a.x + dx * len / d, a.y + dy * len / d};
}

Pt neck_of(const Pose &p) { return add(p.hip, rot(Pt{0, -TORSO}, p.lean)); }
Pt shoulder_of(const Pose &p) { return add(p.hip, rot(Pt{0.012, -TORSO + 0.04}, p.lean)); }
bool arms_raised(const Pose &p) { return p.near_hand.y < shoulder_of(p).y - 0.03; }
double head_angle(const Pose &p) { return p.lean * 0.55 - p.tilt; }
Pt head_of(const Pose &p) { return add(neck_of(p), rot(Pt{0.01, -0.092}, head_angle(p))); }

Col dim(Col c) { return darker(c, 0.28); }

void boot(cairo_t *cr, Pt ankle, double heel, Col c, bool sitting) {
    cairo_save(cr);
    cairo_translate(cr, ankle.x, ankle.y);
    if (sitting) {
        cairo_rotate(cr, -1.25);  // toes up
    } else {
        // Tiptoe: turn about the toe so the heel lifts.
        cairo_translate(cr, 0.069, 0.033);
        cairo_rotate(cr, heel);
        cairo_translate(cr, -0.069, -0.033);
    }
    path_capsule(cr, 0, -0.016, 0.0, 0.0, 0.034, 0.034);
    path_round_rect(cr, -0.038, -0.005, 0.107, 0.038, 0.019);
    shape(cr, c, LW);
    // Sole.
    cairo_move_to(cr, -0.03, 0.026);
    cairo_line_to(cr, 0.062, 0.026);
    set_col(cr, darker(c, 0.5));
    cairo_set_line_width(cr, 0.008);
    cairo_stroke(cr);
    gloss(cr, 0.035, 0.004, 0.02, 0.009, 0.35);
    cairo_restore(cr);
}

void leg(cairo_t *cr, const Pose &p, Pt ankle, double heel, bool far) {
    Pt hip = add(p.hip, Pt{far ? -0.012 : 0.012, 0});
    Pt knee = joint(hip, ankle, THIGH, SHIN, -p.knee_dir);
    Col trouser = far ? dim(pal::overalls) : pal::overalls;
    path_capsule(cr, hip.x, hip.y, knee.x, knee.y, 0.05, 0.044);
    path_capsule(cr, knee.x, knee.y, ankle.x, ankle.y, 0.044, 0.04);
    shape(cr, trouser, LW);
    boot(cr, ankle, heel, far ? dim(pal::boot) : pal::boot, p.knee_dir < 0);
}

void arm(cairo_t *cr, const Pose &p, Pt hand, int elbow_dir, bool far) {
    Pt sh = shoulder_of(p);
    if (far) sh = add(sh, Pt{-0.01, -0.004});
    hand = reach(sh, hand, UPPER_ARM + FOREARM - 0.002);
    Pt el = joint(sh, hand, UPPER_ARM, FOREARM, elbow_dir);
    Col sleeve = far ? dim(pal::shirt) : pal::shirt;
    Col skin = far ? dim(pal::skin) : pal::skin;
    path_capsule(cr, el.x, el.y, hand.x, hand.y, 0.029, 0.026);
    shape(cr, skin, LW);
    // Short sleeve over the upper arm, ending just past the elbow.
    Pt mid = Pt{el.x + (hand.x - el.x) * 0.12, el.y + (hand.y - el.y) * 0.12};
    path_capsule(cr, sh.x, sh.y, mid.x, mid.y, 0.042, 0.036);
    shape(cr, sleeve, LW);
    // Mitten hand.
    cairo_new_path(cr);
    path_ellipse(cr, hand.x, hand.y, 0.034, 0.031);
    shape(cr, skin, LW);
    gloss(cr, hand.x - 0.01, hand.y - 0.012, 0.014, 0.01, 0.4);
}

// The torso in its own frame: hip at the origin, up is -y, the belly towards +x.
void torso_path(cairo_t *cr) {
    const double T = TORSO;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, -0.07, -0.01);
    cairo_curve_to(cr, -0.07, 0.045, 0.05, 0.05, 0.078, 0.0);
    cairo_curve_to(cr, 0.102, -0.045, 0.092, -0.11, 0.066, -T + 0.035);
    cairo_curve_to(cr, 0.05, -T - 0.005, -0.04, -T - 0.01, -0.056, -T + 0.04);
    cairo_curve_to(cr, -0.072, -T + 0.08, -0.082, -0.06, -0.07, -0.01);
    cairo_close_path(cr);
}

void torso(cairo_t *cr, const Pose &p) {
    cairo_save(cr);
    cairo_translate(cr, p.hip.x, p.hip.y);
    cairo_rotate(cr, p.lean);
    const double T = TORSO;
    // Outline around the whole body first.
    torso_path(cr);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, 2 * LW);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    // Shirt everywhere, then the overalls over the belly with the bib up the front.
    torso_path(cr);
    fill_lit(cr, pal::shirt);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, -0.12, -0.075);
    cairo_curve_to(cr, -0.05, -0.085, -0.01, -0.085, 0.012, -0.09);
    cairo_line_to(cr, 0.012, -T + 0.045);
    cairo_line_to(cr, 0.15, -T + 0.045);
    cairo_line_to(cr, 0.15, 0.1);
    cairo_line_to(cr, -0.12, 0.1);
    cairo_close_path(cr);
    shape(cr, pal::overalls, LW * 0.8);
    // The strap from the bib over the shoulder.
    cairo_move_to(cr, 0.03, -T + 0.05);
    cairo_curve_to(cr, 0.0, -T + 0.01, -0.03, -T + 0.0, -0.06, -T + 0.03);
    inked_stroke(cr, pal::overalls, 0.024, LW * 0.7);
    // Bib pocket and buttons.
    path_round_rect(cr, 0.032, -T + 0.075, 0.045, 0.036, 0.008);
    shape(cr, lighter(pal::overalls, 0.12), LW * 0.6, 0.5);
    cairo_new_path(cr);
    path_ellipse(cr, 0.03, -T + 0.058, 0.011, 0.011);
    shape(cr, pal::shirt, LW * 0.6);
    // Seam along the overalls' waist.
    cairo_move_to(cr, -0.07, -0.02);
    cairo_curve_to(cr, -0.02, 0.0, 0.04, 0.0, 0.09, -0.02);
    set_col(cr, with_alpha(darker(pal::overalls, 0.5), 0.6));
    cairo_set_line_width(cr, 0.005);
    cairo_set_dash(cr, (const double[]){0.012, 0.008}, 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_restore(cr);
}

void star(cairo_t *cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < 10; i++) {
        double a = -M_PI / 2 + i * M_PI / 5;
        double rr = (i % 2) ? r * 0.45 : r;
        cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    cairo_close_path(cr);
    shape(cr, rgb(255, 222, 90), LW * 0.7);
}

// The straw sun hat, the same hat in both views, in head radii R: a flat round brim seen
// a little from above, a crown with rounded shoulders, a green band and a pink flower
// tucked into it on the hero's right. The side view sets it a touch forward over the
// brow and tips it back a little; the front view sits it straight.
const double HAT_BRIM = 1.5;        // brim's half width
const double HAT_TILT_VIEW = 0.19;  // how flat every level circle of the hat looks
const double HAT_CROWN = 0.88;      // crown's half width at the brim
const double HAT_CROWN_H = 0.8;     // crown's height above the brim
const double HAT_BAND = 0.24;       // band's height

// The crown's base: the front half of a level circle of half width w, HAT_TILT_VIEW deep,
// from its right end to its left, lifted by up. Continues the current path.
void hat_base_arc(cairo_t *cr, double w, double up) {
    const double d = w * HAT_TILT_VIEW;
    cairo_curve_to(cr, w * 0.55, d * 1.33 - up, -w * 0.55, d * 1.33 - up, -w, -up);
}

void straw_lines(cairo_t *cr, double lw) {
    set_col(cr, with_alpha(darker(pal::hat, 0.4), 0.4));
    cairo_set_line_width(cr, lw * 0.35);
    cairo_stroke(cr);
}

void hat(cairo_t *cr, double R, double lw, bool side) {
    const double bw = HAT_BRIM * R, bd = bw * HAT_TILT_VIEW;
    const double w = HAT_CROWN * R, h = HAT_CROWN_H * R, band = HAT_BAND * R;
    cairo_save(cr);
    if (side) {
        cairo_translate(cr, 0.03 * R, -0.55 * R);
        cairo_rotate(cr, -0.13);
    } else {
        cairo_translate(cr, 0, -0.7 * R);
    }
    // Brim, with the straw's rings.
    cairo_new_path(cr);
    path_ellipse(cr, 0, 0, bw, bd);
    cairo_save(cr);
    shape(cr, pal::hat, lw);
    cairo_restore(cr);
    cairo_save(cr);
    path_ellipse(cr, 0, 0, bw, bd);
    cairo_clip(cr);
    for (int i = 1; i <= 3; i++) {
        const double t = 0.55 + 0.14 * i;
        path_ellipse(cr, 0, 0, bw * t, bd * t);
        straw_lines(cr, lw);
    }
    cairo_restore(cr);
    path_ellipse(cr, 0, 0, bw, bd);
    outline(cr, lw);
    // Crown: sides rising a little inwards to rounded shoulders and a softly dented top.
    auto crown_path = [&]() {
        cairo_new_path(cr);
        cairo_move_to(cr, -w, 0);
        cairo_curve_to(cr, -w * 0.98, -h * 0.55, -w * 0.92, -h, -w * 0.45, -h);
        cairo_curve_to(cr, -w * 0.2, -h, -w * 0.1, -h * 0.93, 0, -h * 0.93);
        cairo_curve_to(cr, w * 0.1, -h * 0.93, w * 0.2, -h, w * 0.45, -h);
        cairo_curve_to(cr, w * 0.92, -h, w * 0.98, -h * 0.55, w, 0);
        hat_base_arc(cr, w, 0);
        cairo_close_path(cr);
    };
    crown_path();
    shape(cr, lighter(pal::hat, 0.06), lw);
    cairo_save(cr);
    crown_path();
    cairo_clip(cr);
    // Rows of plaited straw going round the crown.
    for (int i = 1; i <= 3; i++) {
        const double up = band + (h - band) * 0.22 * i;
        cairo_move_to(cr, w * 1.1, -up);
        hat_base_arc(cr, w * 1.1, up);
        straw_lines(cr, lw);
    }
    // The band round its foot.
    cairo_move_to(cr, w * 1.1, 0.3 * R);
    cairo_line_to(cr, w * 1.1, -band);
    hat_base_arc(cr, w * 1.1, band);
    cairo_line_to(cr, -w * 1.1, 0.3 * R);
    cairo_close_path(cr);
    fill_lit(cr, pal::hat_band, 0.7);
    cairo_new_path(cr);
    cairo_move_to(cr, w * 1.1, -band);
    hat_base_arc(cr, w * 1.1, band);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, lw * 0.7);
    cairo_stroke(cr);
    cairo_restore(cr);
    crown_path();
    outline(cr, lw);
    gloss(cr, -w * 0.45, -h * 0.78, w * 0.35, h * 0.12, 0.45);
    // The flower on the band: five petals round a yellow middle.
    const double fx = side ? 0.4 * w : -0.6 * w;
    const double fy = -band * 0.5 + w * HAT_TILT_VIEW * std::sqrt(1 - (fx / w) * (fx / w));
    const double pr = 0.15 * R;
    cairo_new_path(cr);
    for (int i = 0; i < 5; i++) {
        const double a = -M_PI / 2 + i * 2 * M_PI / 5;
        cairo_new_sub_path(cr);
        path_ellipse(cr, fx + pr * std::cos(a), fy + pr * std::sin(a), pr * 0.72, pr * 0.72);
    }
    shape(cr, pal::hat_flower, lw * 0.7);
    path_ellipse(cr, fx, fy, pr * 0.5, pr * 0.5);
    shape(cr, rgb(255, 214, 70), lw * 0.5);
    cairo_restore(cr);
}

// The head seen from the side, facing right, centred on the origin, radius R.
void head_side(cairo_t *cr, int eyes, int mouth, double tear) {
    const double R = HEAD_R;
    // Hair peeking out at the back and the nape, behind the head.
    cairo_new_path(cr);
    cairo_move_to(cr, -0.2 * R, -0.6 * R);
    cairo_curve_to(cr, -1.1 * R, -0.5 * R, -1.12 * R, 0.3 * R, -0.78 * R, 0.62 * R);
    cairo_curve_to(cr, -0.7 * R, 0.45 * R, -0.6 * R, 0.55 * R, -0.52 * R, 0.72 * R);
    cairo_curve_to(cr, -0.45 * R, 0.5 * R, -0.3 * R, 0.5 * R, -0.2 * R, 0.6 * R);
    cairo_close_path(cr);
    shape(cr, pal::hair, LW);
    // Head with the nose, one outline around both.
    path_ellipse(cr, 0, 0, R, R * 0.98);
    path_ellipse(cr, 0.96 * R, 0.14 * R, 0.2 * R, 0.17 * R);
    shape(cr, pal::skin, LW);
    gloss(cr, 1.0 * R, 0.07 * R, 0.07 * R, 0.05 * R, 0.6);
    // Ear.
    path_ellipse(cr, -0.18 * R, 0.16 * R, 0.2 * R, 0.25 * R, -0.2);
    shape(cr, pal::skin, LW * 0.85);
    cairo_arc(cr, -0.16 * R, 0.17 * R, 0.09 * R, -1.2, 1.6);
    set_col(cr, with_alpha(darker(pal::skin, 0.5), 0.8));
    cairo_set_line_width(cr, 0.006);
    cairo_stroke(cr);
    // Hair tuft over the ear, in front of the head.
    cairo_move_to(cr, -0.55 * R, -0.55 * R);
    cairo_curve_to(cr, -0.6 * R, -0.2 * R, -0.5 * R, -0.05 * R, -0.35 * R, 0.02 * R);
    cairo_curve_to(cr, -0.3 * R, -0.15 * R, -0.1 * R, -0.2 * R, 0.0 * R, -0.35 * R);
    cairo_curve_to(cr, 0.15 * R, -0.3 * R, 0.3 * R, -0.3 * R, 0.45 * R, -0.42 * R);
    cairo_close_path(cr);
    shape(cr, pal::hair, LW * 0.85);
    // Cheek.
    radial_spot(cr, 0.5 * R, 0.38 * R, 0.24 * R, 0.15 * R, pal::cheek, 0.75);
    // Eye.
    const double ex = 0.45 * R, ey = -0.04 * R;
    set_col(cr, pal::eye);
    switch (eyes) {
    case EYES_OPEN:
        path_ellipse(cr, ex, ey, 0.12 * R, 0.19 * R);
        cairo_fill(cr);
        set_col(cr, pal::white);
        path_ellipse(cr, ex + 0.035 * R, ey - 0.07 * R, 0.05 * R, 0.06 * R);
        cairo_fill(cr);
        path_ellipse(cr, ex - 0.03 * R, ey + 0.09 * R, 0.022 * R, 0.022 * R);
        cairo_fill(cr);
        break;
    case EYES_BLINK:
        cairo_move_to(cr, ex - 0.13 * R, ey + 0.02 * R);
        cairo_curve_to(cr, ex - 0.05 * R, ey + 0.1 * R, ex + 0.06 * R, ey + 0.1 * R, ex + 0.13 * R, ey + 0.01 * R);
        cairo_set_line_width(cr, 0.009);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        break;
    case EYES_HAPPY:
        cairo_move_to(cr, ex - 0.13 * R, ey + 0.06 * R);
        cairo_curve_to(cr, ex - 0.06 * R, ey - 0.12 * R, ex + 0.06 * R, ey - 0.12 * R, ex + 0.13 * R, ey + 0.05 * R);
        cairo_set_line_width(cr, 0.01);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        break;
    case EYES_DIZZY:
        cairo_set_line_width(cr, 0.0065);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i <= 40; i++) {
            double a = i * 0.42;
            double r = 0.012 * R + i * 0.0045 * R;
            if (i == 0)
                cairo_move_to(cr, ex + r * std::cos(a), ey + r * std::sin(a));
            else
                cairo_line_to(cr, ex + r * std::cos(a), ey + r * std::sin(a));
        }
        cairo_stroke(cr);
        break;
    case EYES_SAD:
        cairo_move_to(cr, ex - 0.13 * R, ey - 0.02 * R);
        cairo_curve_to(cr, ex - 0.05 * R, ey + 0.1 * R, ex + 0.06 * R, ey + 0.1 * R, ex + 0.13 * R, ey - 0.01 * R);
        cairo_set_line_width(cr, 0.009);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        // Brow raised in the middle.
        cairo_move_to(cr, ex - 0.16 * R, ey - 0.3 * R);
        cairo_line_to(cr, ex + 0.14 * R, ey - 0.4 * R);
        cairo_set_line_width(cr, 0.007);
        cairo_stroke(cr);
        break;
    }
    if (eyes == EYES_OPEN || eyes == EYES_BLINK) {
        // Brow.
        set_col(cr, darker(pal::hair, 0.35));
        cairo_move_to(cr, ex - 0.14 * R, ey - 0.33 * R);
        cairo_curve_to(cr, ex - 0.05 * R, ey - 0.41 * R, ex + 0.08 * R, ey - 0.4 * R, ex + 0.16 * R, ey - 0.32 * R);
        cairo_set_line_width(cr, 0.008);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
    // Mouth.
    set_col(cr, pal::ink);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 0.0075);
    switch (mouth) {
    case MOUTH_SMILE:
        cairo_move_to(cr, 0.6 * R, 0.5 * R);
        cairo_curve_to(cr, 0.72 * R, 0.62 * R, 0.86 * R, 0.6 * R, 0.93 * R, 0.46 * R);
        cairo_stroke(cr);
        break;
    case MOUTH_GRIN:
        // An open laughing mouth: a D lying on its back.
        cairo_move_to(cr, 0.5 * R, 0.42 * R);
        cairo_curve_to(cr, 0.62 * R, 0.48 * R, 0.84 * R, 0.46 * R, 0.98 * R, 0.36 * R);
        cairo_curve_to(cr, 0.96 * R, 0.66 * R, 0.78 * R, 0.8 * R, 0.62 * R, 0.7 * R);
        cairo_curve_to(cr, 0.55 * R, 0.64 * R, 0.5 * R, 0.52 * R, 0.5 * R, 0.42 * R);
        cairo_close_path(cr);
        set_col(cr, rgb(150, 44, 48));
        cairo_fill_preserve(cr);
        set_col(cr, pal::ink);
        cairo_stroke(cr);
        path_ellipse(cr, 0.74 * R, 0.66 * R, 0.13 * R, 0.06 * R, -0.3);
        set_col(cr, rgb(236, 110, 110));
        cairo_fill(cr);
        break;
    case MOUTH_WOBBLY:
        cairo_move_to(cr, 0.58 * R, 0.55 * R);
        cairo_curve_to(cr, 0.65 * R, 0.45 * R, 0.72 * R, 0.65 * R, 0.8 * R, 0.52 * R);
        cairo_curve_to(cr, 0.85 * R, 0.45 * R, 0.9 * R, 0.55 * R, 0.94 * R, 0.5 * R);
        cairo_stroke(cr);
        break;
    case MOUTH_SAD:
        cairo_move_to(cr, 0.6 * R, 0.6 * R);
        cairo_curve_to(cr, 0.7 * R, 0.48 * R, 0.84 * R, 0.48 * R, 0.92 * R, 0.58 * R);
        cairo_stroke(cr);
        break;
    case MOUTH_O:
        path_ellipse(cr, 0.8 * R, 0.56 * R, 0.09 * R, 0.11 * R);
        set_col(cr, rgb(150, 44, 48));
        cairo_fill_preserve(cr);
        set_col(cr, pal::ink);
        cairo_stroke(cr);
        break;
    }
    hat(cr, R, LW, true);
    // Tear.
    if (tear >= 0) {
        double ty = 0.14 * R + tear * 0.5 * R;
        cairo_move_to(cr, 0.42 * R, ty - 0.14 * R);
        cairo_curve_to(cr, 0.36 * R, ty, 0.36 * R, ty + 0.07 * R, 0.42 * R, ty + 0.07 * R);
        cairo_curve_to(cr, 0.48 * R, ty + 0.07 * R, 0.48 * R, ty, 0.42 * R, ty - 0.14 * R);
        cairo_close_path(cr);
        shape(cr, rgb(150, 210, 250), LW * 0.6);
    }
}

void draw_figure(cairo_t *cr, const Pose &p) {
    if (p.shadow_alpha > 0) soft_shadow(cr, 0.46, GROUND + 0.004, 0.2, 0.016, p.shadow_alpha);
    bool sitting = p.knee_dir < 0;
    if (p.basket && p.basket_upside_down) {
        // The dropped basket lies on the floor beside the hero.
        cairo_save(cr);
        cairo_translate(cr, p.basket_at.x, p.basket_at.y);
        cairo_rotate(cr, M_PI + p.basket_tilt);
        draw_basket(cr, 0, 0, BASKET_W, BASKET_H, LW, 0);
        cairo_restore(cr);
    }
    leg(cr, p, p.back_ankle, p.back_heel, true);
    arm(cr, p, p.far_hand, p.far_elbow, true);
    if (p.basket && !p.basket_upside_down && !p.basket_in_front_of_arm)
        draw_basket(cr, p.basket_at.x, p.basket_at.y, BASKET_W, BASKET_H, LW, p.basket_tilt);
    if (!sitting) leg(cr, p, p.front_ankle, p.front_heel, false);
    torso(cr, p);
    if (sitting) leg(cr, p, p.front_ankle, p.front_heel, false);
    // A raised near arm passes beside the head rather than across the face.
    bool raised = arms_raised(p);
    if (raised) arm(cr, p, p.near_hand, p.near_elbow, false);
    Pt h = head_of(p);
    cairo_save(cr);
    cairo_translate(cr, h.x, h.y);
    cairo_rotate(cr, head_angle(p));
    head_side(cr, p.eyes, p.mouth, p.tear);
    cairo_restore(cr);
    if (!raised) arm(cr, p, p.near_hand, p.near_elbow, false);
    if (p.basket && !p.basket_upside_down && p.basket_in_front_of_arm)
        draw_basket(cr, p.basket_at.x, p.basket_at.y, BASKET_W, BASKET_H, LW, p.basket_tilt);
    if (p.stars) {
        star(cr, h.x - 0.1, h.y - 0.19, 0.03);
        star(cr, h.x + 0.06, h.y - 0.22, 0.025);
        star(cr, h.x + 0.16, h.y - 0.15, 0.022);
    }
}

Pose standing() {
    Pose p{};
    p.hip = Pt{0.455, 0.755};
    p.lean = 0;
    p.tilt = 0;
    p.back_ankle = Pt{0.39, GROUND - 0.032};
    p.front_ankle = Pt{0.5, GROUND - 0.032};
    p.knee_dir = 1;
    p.near_elbow = 1;
    p.far_elbow = 1;
    p.eyes = EYES_OPEN;
    p.mouth = MOUTH_SMILE;
    p.basket = true;
    p.tear = -1;
    p.shadow_alpha = 0.35;
    return p;
}

// Side-view poses for the six basket heights: the lowest crouches, the highest stands
// on tiptoe with the arms stretched up.
Pose side_pose(int frame) {
    static const double crouch[6] = {0.05, 0.018, 0.0, 0.0, -0.01, -0.025};
    static const double lean[6] = {0.42, 0.2, 0.08, 0.04, 0.06, 0.12};
    static const double tilt[6] = {-0.25, -0.12, 0.0, 0.12, 0.3, 0.42};
    static const double heel[6] = {0.0, 0.0, 0.0, 0.0, 0.12, 0.3};
    Pose p = standing();
    p.hip.y += crouch[frame];
    p.hip.x += frame == 0 ? -0.02 : 0.0;
    p.lean = lean[frame];
    p.tilt = tilt[frame];
    p.back_heel = heel[frame];
    p.front_heel = heel[frame] * 0.6;
    double cx = hero_catch_x(frame);
    double cy = hero_catch_y(frame);
    double rim = cy - 0.045;
    p.basket_at = Pt{cx, rim};
    if (frame == 5) {
        // Held up from below.
        p.near_hand = Pt{cx - 0.05, rim + BASKET_H + 0.008};
        p.far_hand = Pt{cx + 0.005, rim + BASKET_H + 0.01};
        p.basket_in_front_of_arm = false;
        p.near_elbow = 1;
        p.far_elbow = 1;
    } else {
        // Gripping the rim at the back.
        p.near_hand = Pt{cx - BASKET_W * 0.5 + 0.01, rim + 0.018};
        p.far_hand = Pt{cx - BASKET_W * 0.5 + 0.05, rim + 0.01};
        p.basket_in_front_of_arm = false;
    }
    return p;
}

}  // namespace

// The basket's catch point in the side views. The painter puts it at about 0.70 of the
// cell's width and 0.98 - 0.7333 f of its height for frame fraction f; the barn's resting
// heights fall a little off those fractions, so each frame's height is set between the
// heights it is really shown at, which keeps the egg in the basket's opening on every floor.
double hero_catch_x(int) { return 0.695; }

double hero_catch_y(int frame) {
    static const double y[6] = {0.872, 0.733, 0.655, 0.516, 0.425, 0.263};
    return y[frame];
}

void draw_basket(cairo_t *cr, double cx, double rim_y, double w, double h, double lw, double tilt) {
    cairo_save(cr);
    cairo_translate(cr, cx, rim_y);
    cairo_rotate(cr, tilt);
    double hw = w / 2;
    double open_h = h * 0.2;
    // The body: wider at the rim, rounded at the bottom.
    cairo_new_path(cr);
    cairo_move_to(cr, -hw, 0);
    cairo_curve_to(cr, -hw * 0.95, h * 0.6, -hw * 0.75, h, 0, h);
    cairo_curve_to(cr, hw * 0.75, h, hw * 0.95, h * 0.6, hw, 0);
    cairo_close_path(cr);
    cairo_save(cr);
    shape(cr, pal::wicker, lw);
    cairo_restore(cr);
    // Weave: rows of short slanted strokes, alternating, clipped to the body.
    cairo_save(cr);
    cairo_move_to(cr, -hw, 0);
    cairo_curve_to(cr, -hw * 0.95, h * 0.6, -hw * 0.75, h, 0, h);
    cairo_curve_to(cr, hw * 0.75, h, hw * 0.95, h * 0.6, hw, 0);
    cairo_close_path(cr);
    cairo_clip(cr);
    int rows = 4;
    for (int r = 0; r < rows; r++) {
        double y0 = h * (0.12 + r * 0.22);
        double step = w / 9.0;
        for (int i = -1; i < 10; i++) {
            double x = -hw + i * step + ((r % 2) ? step * 0.5 : 0);
            path_ellipse(cr, x + step * 0.5, y0 + h * 0.1, step * 0.42, h * 0.1, (r % 2) ? 0.35 : -0.35);
            set_col(cr, lighter(pal::wicker, 0.25));
            cairo_fill_preserve(cr);
            set_col(cr, with_alpha(pal::wicker_dark, 0.8));
            cairo_set_line_width(cr, lw * 0.45);
            cairo_stroke(cr);
        }
    }
    // Shade the lower part.
    cairo_pattern_t *sh = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgba(sh, 0.3, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(sh, 1.0, pal::shadow.r, pal::shadow.g, pal::shadow.b, 0.45);
    cairo_set_source(cr, sh);
    cairo_paint(cr);
    cairo_pattern_destroy(sh);
    cairo_restore(cr);
    cairo_move_to(cr, -hw, 0);
    cairo_curve_to(cr, -hw * 0.95, h * 0.6, -hw * 0.75, h, 0, h);
    cairo_curve_to(cr, hw * 0.75, h, hw * 0.95, h * 0.6, hw, 0);
    outline(cr, lw);
    // The opening, seen a little from above, and the thick rolled rim.
    path_ellipse(cr, 0, 0, hw, open_h);
    set_col(cr, darker(pal::wicker_dark, 0.45));
    cairo_fill(cr);
    cairo_new_path(cr);
    path_ellipse(cr, 0, 0, hw, open_h);
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, lw * 2 + h * 0.13);
    cairo_stroke(cr);
    path_ellipse(cr, 0, 0, hw, open_h);
    set_col(cr, pal::wicker);
    cairo_set_line_width(cr, h * 0.13);
    cairo_stroke(cr);
    // Twist marks along the rim.
    set_col(cr, with_alpha(pal::wicker_dark, 0.9));
    cairo_set_line_width(cr, lw * 0.5);
    for (int i = 0; i < 18; i++) {
        double a = i * 2 * M_PI / 18;
        double x = hw * std::cos(a), y = open_h * std::sin(a);
        cairo_move_to(cr, x - h * 0.03, y - h * 0.06);
        cairo_line_to(cr, x + h * 0.03, y + h * 0.06);
        cairo_stroke(cr);
    }
    gloss(cr, -hw * 0.35, -open_h * 0.9, hw * 0.35, h * 0.05, 0.45);
    cairo_restore(cr);
}

void draw_hero_side(cairo_t *cr, int frame, bool blink) {
    Pose p = side_pose(frame);
    if (blink) p.eyes = EYES_BLINK;
    draw_figure(cr, p);
}

void draw_hero_cheer(cairo_t *cr, int frame) {
    Pose p = standing();
    p.eyes = EYES_HAPPY;
    p.mouth = MOUTH_GRIN;
    p.tilt = 0.25;
    if (frame == 0) {
        p.lean = -0.04;
        p.near_hand = Pt{0.62, 0.36};
        p.far_hand = Pt{0.7, 0.33};
        p.near_elbow = -1;
        p.far_elbow = 1;
        p.basket_at = Pt{0.66, 0.27};
        p.basket_tilt = 0.25;
    } else {
        // A little jump: everything off the floor, knees tucked.
        double up = 0.05;
        p.hip = Pt{p.hip.x, p.hip.y - up};
        p.back_ankle = Pt{0.37, GROUND - 0.032 - up * 0.6};
        p.front_ankle = Pt{0.52, GROUND - 0.032 - up * 0.9};
        p.lean = 0.03;
        p.near_hand = Pt{0.63, 0.31};
        p.far_hand = Pt{0.71, 0.28};
        p.near_elbow = -1;
        p.far_elbow = 1;
        p.basket_at = Pt{0.66, 0.22};
        p.basket_tilt = -0.2;
        p.shadow_alpha = 0.22;
    }
    p.basket_in_front_of_arm = false;
    draw_figure(cr, p);
}

void draw_hero_hurt(cairo_t *cr) {
    Pose p = standing();
    p.lean = -0.1;
    p.tilt = -0.1;
    p.eyes = EYES_DIZZY;
    p.mouth = MOUTH_WOBBLY;
    p.back_ankle = Pt{0.36, GROUND - 0.032};
    p.front_ankle = Pt{0.54, GROUND - 0.032};
    p.hip.y += 0.01;
    // Hands clutching the hat.
    Pt h = head_of(p);
    p.near_hand = Pt{h.x + 0.07, h.y - 0.08};
    p.far_hand = Pt{h.x - 0.08, h.y - 0.09};
    p.near_elbow = -1;
    p.far_elbow = -1;
    p.basket = true;
    p.basket_upside_down = true;
    p.basket_at = Pt{0.72, GROUND - 0.018};
    p.basket_tilt = 0.12;
    p.stars = true;
    draw_figure(cr, p);
}

void draw_hero_game_over(cairo_t *cr, int frame) {
    Pose p = standing();
    p.knee_dir = -1;
    p.hip = Pt{0.4, GROUND - 0.085};
    p.lean = 0.34 + frame * 0.04;
    p.tilt = -0.42 - frame * 0.06;
    p.back_ankle = Pt{0.57, GROUND - 0.075};
    p.front_ankle = Pt{0.62, GROUND - 0.08};
    p.eyes = EYES_SAD;
    p.mouth = MOUTH_SAD;
    p.tear = frame == 0 ? 0.0 : 0.7;
    Pt h = head_of(p);
    p.near_hand = Pt{h.x + 0.04, h.y + 0.13};
    p.far_hand = Pt{h.x - 0.02, h.y + 0.14};
    p.near_elbow = 1;
    p.far_elbow = 1;
    p.basket = true;
    p.basket_upside_down = true;
    p.basket_at = Pt{0.8, GROUND - 0.018};
    p.basket_tilt = -0.05;
    p.shadow_alpha = 0.3;
    draw_figure(cr, p);
}

// ---- front view ----------------------------------------------------------------------

namespace {

void head_front(cairo_t *cr, double R, int eyes, int mouth, double lw) {
    // Hair at the sides under the hat.
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(cr, s * 0.55 * R, -0.5 * R);
        cairo_curve_to(cr, s * 1.15 * R, -0.4 * R, s * 1.12 * R, 0.25 * R, s * 0.92 * R, 0.5 * R);
        cairo_curve_to(cr, s * 0.86 * R, 0.2 * R, s * 0.7 * R, 0.0, s * 0.6 * R, -0.2 * R);
        cairo_close_path(cr);
    }
    shape(cr, pal::hair, lw);
    // Ears.
    path_ellipse(cr, -1.0 * R, 0.12 * R, 0.18 * R, 0.24 * R);
    path_ellipse(cr, 1.0 * R, 0.12 * R, 0.18 * R, 0.24 * R);
    shape(cr, pal::skin, lw);
    // Face.
    path_ellipse(cr, 0, 0, R, R * 0.97);
    shape(cr, pal::skin, lw);
    // Fringe.
    cairo_move_to(cr, -0.8 * R, -0.45 * R);
    cairo_curve_to(cr, -0.6 * R, -0.2 * R, -0.4 * R, -0.25 * R, -0.3 * R, -0.3 * R);
    cairo_curve_to(cr, -0.2 * R, -0.12 * R, 0.0, -0.18 * R, 0.08 * R, -0.3 * R);
    cairo_curve_to(cr, 0.2 * R, -0.15 * R, 0.4 * R, -0.2 * R, 0.45 * R, -0.32 * R);
    cairo_curve_to(cr, 0.6 * R, -0.22 * R, 0.75 * R, -0.3 * R, 0.82 * R, -0.45 * R);
    cairo_close_path(cr);
    shape(cr, pal::hair, lw * 0.85);
    // Cheeks.
    for (int s = -1; s <= 1; s += 2) radial_spot(cr, s * 0.55 * R, 0.32 * R, 0.22 * R, 0.14 * R, pal::cheek, 0.75);
    // Eyes.
    for (int s = -1; s <= 1; s += 2) {
        double ex = s * 0.34 * R, ey = 0.0;
        set_col(cr, pal::eye);
        if (eyes == EYES_HAPPY) {
            cairo_move_to(cr, ex - 0.13 * R, ey + 0.06 * R);
            cairo_curve_to(cr, ex - 0.06 * R, ey - 0.12 * R, ex + 0.06 * R, ey - 0.12 * R, ex + 0.13 * R, ey + 0.06 * R);
            cairo_set_line_width(cr, lw * 0.9);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
        } else {
            path_ellipse(cr, ex, ey, 0.12 * R, 0.18 * R);
            cairo_fill(cr);
            set_col(cr, pal::white);
            path_ellipse(cr, ex + 0.035 * R, ey - 0.065 * R, 0.05 * R, 0.06 * R);
            cairo_fill(cr);
        }
        set_col(cr, darker(pal::hair, 0.35));
        cairo_move_to(cr, ex - 0.14 * R, ey - 0.3 * R);
        cairo_curve_to(cr, ex - 0.05 * R, ey - 0.38 * R, ex + 0.05 * R, ey - 0.38 * R, ex + 0.14 * R, ey - 0.3 * R);
        cairo_set_line_width(cr, lw * 0.75);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
    // Nose.
    path_ellipse(cr, 0, 0.2 * R, 0.14 * R, 0.11 * R);
    shape(cr, lighter(pal::skin, 0.1), lw * 0.7);
    gloss(cr, -0.03 * R, 0.16 * R, 0.06 * R, 0.04 * R, 0.7);
    // Mouth.
    set_col(cr, pal::ink);
    cairo_set_line_width(cr, lw * 0.75);
    if (mouth == MOUTH_GRIN) {
        cairo_move_to(cr, -0.3 * R, 0.45 * R);
        cairo_curve_to(cr, -0.2 * R, 0.8 * R, 0.2 * R, 0.8 * R, 0.3 * R, 0.45 * R);
        cairo_close_path(cr);
        set_col(cr, rgb(150, 44, 48));
        cairo_fill_preserve(cr);
        set_col(cr, pal::ink);
        cairo_stroke(cr);
    } else {
        cairo_move_to(cr, -0.22 * R, 0.46 * R);
        cairo_curve_to(cr, -0.1 * R, 0.6 * R, 0.1 * R, 0.6 * R, 0.22 * R, 0.46 * R);
        cairo_stroke(cr);
    }
    hat(cr, R, lw, false);
}

}  // namespace

void draw_hero_front(cairo_t *cr) {
    const double R = HEAD_R;
    soft_shadow(cr, 0.5, GROUND + 0.004, 0.2, 0.016, 0.35);
    // Legs and boots.
    for (int s = -1; s <= 1; s += 2) {
        double x = 0.5 + s * 0.045;
        path_capsule(cr, x, 0.77, x + s * 0.01, GROUND - 0.035, 0.048, 0.042);
        shape(cr, pal::overalls, LW);
        path_round_rect(cr, x + s * 0.01 - 0.045, GROUND - 0.05, 0.09, 0.052, 0.024);
        shape(cr, pal::boot, LW);
    }
    // Arms down to the basket held in front of the belly.
    for (int s = -1; s <= 1; s += 2) {
        double sx = 0.5 + s * 0.085;
        path_capsule(cr, sx + s * 0.03, 0.66, 0.5 + s * 0.085, 0.78, 0.028, 0.026);
        shape(cr, pal::skin, LW);
        path_capsule(cr, sx, 0.61, sx + s * 0.03, 0.67, 0.045, 0.038);
        shape(cr, pal::shirt, LW);
    }
    // Body, drawn once as a shape and once as the clip of the overalls' bib.
    auto body_path = [cr]() {
        cairo_move_to(cr, 0.5, 0.575);
        cairo_curve_to(cr, 0.6, 0.575, 0.61, 0.64, 0.605, 0.7);
        cairo_curve_to(cr, 0.6, 0.78, 0.58, 0.81, 0.5, 0.81);
        cairo_curve_to(cr, 0.42, 0.81, 0.4, 0.78, 0.395, 0.7);
        cairo_curve_to(cr, 0.39, 0.64, 0.4, 0.575, 0.5, 0.575);
        cairo_close_path(cr);
    };
    cairo_new_path(cr);
    body_path();
    cairo_save(cr);
    shape(cr, pal::shirt, LW);
    cairo_restore(cr);
    cairo_save(cr);
    body_path();
    cairo_clip(cr);
    cairo_move_to(cr, 0.3, 0.715);
    cairo_line_to(cr, 0.445, 0.715);
    cairo_line_to(cr, 0.445, 0.62);
    cairo_line_to(cr, 0.555, 0.62);
    cairo_line_to(cr, 0.555, 0.715);
    cairo_line_to(cr, 0.7, 0.715);
    cairo_line_to(cr, 0.7, 0.9);
    cairo_line_to(cr, 0.3, 0.9);
    cairo_close_path(cr);
    shape(cr, pal::overalls, LW * 0.8);
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(cr, 0.5 + s * 0.045, 0.625);
        cairo_line_to(cr, 0.5 + s * 0.07, 0.57);
        inked_stroke(cr, pal::overalls, 0.022, LW * 0.7);
        path_ellipse(cr, 0.5 + s * 0.043, 0.632, 0.01, 0.01);
        shape(cr, pal::shirt, LW * 0.5);
    }
    cairo_restore(cr);
    // Basket in front, hands on its rim.
    draw_basket(cr, 0.5, 0.77, BASKET_W, BASKET_H, LW, 0);
    for (int s = -1; s <= 1; s += 2) {
        path_ellipse(cr, 0.5 + s * 0.085, 0.778, 0.033, 0.03);
        shape(cr, pal::skin, LW);
    }
    cairo_save(cr);
    cairo_translate(cr, 0.5, 0.575 - 0.095);
    head_front(cr, R, EYES_OPEN, MOUTH_SMILE, LW);
    cairo_restore(cr);
}

void draw_hero_head_icon(cairo_t *cr) {
    // The front-view head filling the icon, with a heavier outline so it reads when
    // drawn 32 pixels wide.
    cairo_save(cr);
    cairo_translate(cr, 0.5, 0.6);
    head_front(cr, 0.29, EYES_OPEN, MOUTH_SMILE, 0.028);
    cairo_restore(cr);
}
