#!/usr/bin/Rscript
# References for the limits of a straight-line calibration (DIN 32645 / ISO 11843-2,
# calibration-curve method) and for the calibration of replicate readings of one sample.
#
# Run once:  Rscript make_limits_reference.R > limits_reference.json
#            /usr/bin/python3 refine_limits_reference.py limits_reference.json
# (the second recomputes the unweighted cases in 50 digits: R keeps 7 of a tight line's SD).
#
# The line comes from R's lm (with weights= where the case is weighted). Every interval is built
# here from the textbook formulas of the weighted straight line:
#   leverage(x)      = 1/Sw + (x - xw)^2/Qw,  Sw = sum(w), xw = sum(w x)/Sw, Qw = sum(w (x - xw)^2)
#   var of a mean of m new readings at x = S^2/(m w0(x)),  S the residual SD (1 when absolute),
#                                          w0(x) the weight the scheme gives a new reading at x
#   sigma_p(x)^2     = var(x) + S^2 leverage(x)
# critical Y  = yhat(0) + t(f, 1-alpha) sigma_p(0), critical X = (critical Y - a)/b;
# detection   = the x with yhat(x) - t(f, 1-beta) sigma_p(x) = critical Y;
# quantification L = k t(f, 1-alpha/2) sigma_p(L)/|b|.
# For an unweighted line these are DIN's x_NG, x_EG and x_BG; the script checks that its root
# finding agrees with the closed forms (quadratics) wherever the variance is constant in x.
# Quantiles: qt with f = n - 2, qnorm when the standard deviations are absolute.
options(digits = 17)

num <- function(v) {
  if (length(v) == 0) return("[]")
  s <- ifelse(is.na(v), "null", sprintf("%.17g", v))
  if (length(v) == 1) s else paste0("[", paste(s, collapse = ", "), "]")
}
vec <- function(v) paste0("[", paste(sprintf("%.17g", v), collapse = ", "), "]")
str <- function(s) paste0("\"", s, "\"")

line_fit <- function(x, y, w, absolute) {
  fit <- lm(y ~ x, weights = w)
  a <- unname(coef(fit)[1]); b <- unname(coef(fit)[2])
  n <- length(x); f <- n - 2
  S <- if (absolute) 1 else sqrt(sum(w * residuals(fit)^2) / f)
  Sw <- sum(w); xw <- sum(w * x) / Sw; Qw <- sum(w * (x - xw)^2)
  list(a = a, b = b, n = n, f = f, S = S, Sw = Sw, xw = xw, Qw = Qw, absolute = absolute,
       meanw = mean(w), fit = fit)
}
quant <- function(L, p) if (L$absolute) qnorm(p) else qt(p, L$f)
yhat <- function(L, x) L$a + L$b * x
lev <- function(L, x) 1 / L$Sw + (x - L$xw)^2 / L$Qw
# The weight of a new reading at x under each scheme, in measured units.
new_weight <- function(L, scheme, x, sigma) {
  if (!is.na(sigma)) return(1 / sigma^2)
  switch(scheme, none = 1, sigma = L$meanw, `1/y` = 1 / yhat(L, x), `1/x` = 1 / x)
}
sigma_p <- function(L, scheme, x, m, sigma) {
  sqrt(L$S^2 / (m * new_weight(L, scheme, x, sigma)) + L$S^2 * lev(L, x))
}
solve_root <- function(f, lo, hi) {
  r <- uniroot(f, c(lo, hi), tol = 1e-300, maxiter = 100000, extendInt = "upX")
  r$root
}

limits_case <- function(name, x, y, s = NULL, scheme = "none", absolute = FALSE, sigma = NA,
                        alpha = 0.05, beta = 0.05, k = 3, m = 1) {
  w <- switch(scheme, none = rep(1, length(x)), sigma = 1 / s^2, `1/y` = 1 / y, `1/x` = 1 / x)
  L <- line_fit(x, y, w, absolute)
  sp <- function(x) sigma_p(L, scheme, x, m, sigma)
  ta <- quant(L, 1 - alpha); tb <- quant(L, 1 - beta); tq <- quant(L, 1 - alpha / 2)
  yc <- yhat(L, 0) + ta * sp(0)
  xc <- (yc - L$a) / L$b
  seb <- L$S / sqrt(L$Qw)
  detection <- NA
  if (L$b / seb > tb) {
    # yhat(x) - yc = b (x - xc): no cancellation on a tight line.
    detection <- solve_root(function(x) L$b * (x - xc) - tb * sp(x), xc, xc + 1)
  }
  quantification <- NA
  if (k * tq * seb / abs(L$b) < 1) {
    quantification <- solve_root(function(q) q - k * tq * sp(q) / abs(L$b), 0, xc + 1)
  }
  constant <- scheme == "none" || scheme == "sigma" || !is.na(sigma)
  if (constant) {
    # DIN's closed forms: x_EG and x_BG from their quadratics in x.
    v0 <- L$S^2 / (m * new_weight(L, scheme, 0, sigma))
    A <- v0 + L$S^2 / L$Sw; B <- L$S^2 / L$Qw
    c <- tb / L$b; e <- xc - L$xw
    # d = c sqrt(A + B (d + e)^2): (1 - c^2 B) d^2 - 2 c^2 B e d - c^2 (A + B e^2) = 0
    qa <- 1 - c^2 * B; qb <- -2 * c^2 * B * e; qc <- -c^2 * (A + B * e^2)
    if (!is.na(detection)) {
      d <- (-qb + sqrt(qb^2 - 4 * qa * qc)) / (2 * qa)
      stopifnot(abs(xc + d - detection) <= 1e-12 * abs(detection))
    }
    g <- k * tq / abs(L$b)
    qa <- 1 - g^2 * B; qb <- 2 * g^2 * B * L$xw; qc <- -g^2 * (A + B * L$xw^2)
    if (!is.na(quantification)) {
      q <- (-qb + sqrt(qb^2 - 4 * qa * qc)) / (2 * qa)
      stopifnot(abs(q - quantification) <= 1e-12 * abs(quantification))
    }
  }
  shortcut <- if (alpha == beta) 2 * xc else NA
  paste0("  {\"name\": ", str(name), ", \"x\": ", vec(x), ", \"y\": ", vec(y),
         ", \"s\": ", if (is.null(s)) "[]" else vec(s), ", \"weights\": ", str(scheme),
         ", \"absolute\": ", tolower(absolute), ", \"sigma\": ", num(sigma),
         ", \"alpha\": ", num(alpha), ", \"beta\": ", num(beta), ", \"k\": ", num(k),
         ", \"m\": ", m, ", \"t_alpha\": ", num(ta), ", \"t_beta\": ", num(tb),
         ", \"t_quantification\": ", num(tq), ", \"critical_y\": ", num(yc),
         ", \"critical_x\": ", num(xc), ", \"detection_x\": ", num(detection),
         ", \"detection_shortcut_x\": ", num(shortcut),
         ", \"quantification_x\": ", num(quantification), "}")
}

# The calibration of the mean of m readings: the estimate, its Wald interval and its inversion
# interval (where the prediction band of a mean of m readings crosses the mean).
replicate_case <- function(name, x, y, readings, s = NULL, scheme = "none", sigma = NA,
                           level = 0.95) {
  w <- switch(scheme, none = rep(1, length(x)), sigma = 1 / s^2, `1/y` = 1 / y)
  L <- line_fit(x, y, w, FALSE)
  m <- length(readings); y0 <- mean(readings)
  t <- quant(L, 1 - (1 - level) / 2)
  sp <- function(x) sigma_p(L, scheme, x, m, sigma)
  x0 <- (y0 - L$a) / L$b
  half <- t * sp(x0) / abs(L$b)
  band <- function(x) (y0 - yhat(L, x))^2 - t^2 * sp(x)^2
  lower <- uniroot(band, c(min(x), x0), tol = 1e-300, maxiter = 100000)$root
  upper <- uniroot(band, c(x0, max(x)), tol = 1e-300, maxiter = 100000)$root
  paste0("  {\"name\": ", str(name), ", \"x\": ", vec(x), ", \"y\": ", vec(y),
         ", \"s\": ", if (is.null(s)) "[]" else vec(s), ", \"weights\": ", str(scheme),
         ", \"sigma\": ", num(sigma), ", \"level\": ", num(level),
         ", \"readings\": ", vec(readings), ", \"mean\": ", num(y0), ", \"x0\": ", num(x0),
         ", \"wald_lower\": ", num(x0 - half), ", \"wald_upper\": ", num(x0 + half),
         ", \"inversion_lower\": ", num(lower), ", \"inversion_upper\": ", num(upper), "}")
}

# The worked example's data of DIN 32645 (concentration, extinction).
din_x <- seq(0.06, 0.24, by = 0.02)
din_y <- c(0.1020, 0.1327, 0.1557, 0.1874, 0.2119, 0.2436, 0.2655, 0.2970, 0.3227, 0.3519)
# A textbook fluorescence calibration (signal against concentration).
fl_x <- c(0, 2, 4, 6, 8, 10, 12)
fl_y <- c(2.1, 5.0, 9.0, 12.6, 17.3, 21.0, 24.7)
# A textbook weighted calibration: each standard's signal with its standard deviation.
wt_x <- c(0, 10, 20, 30, 40, 50)
wt_y <- c(4, 22, 44, 60, 75, 104)
wt_s <- c(0.2, 0.5, 1.1, 1.3, 1.9, 2.1)
# Calendar years, far from zero: X = 0 is two thousand years from the standards.
yr_x <- 2000:2011
yr_y <- round(5 + 0.8 * (yr_x - 2000) + 0.3 * sin(1.7 * (0:11) + 0.2), 6)
# A frequency around 1e6.
of_x <- 1e6 + (-5:5)
of_y <- round(10 + 2 * (of_x - 1e6) + 0.2 * sin(2.3 * (0:10)), 6)
# A tight line: noise 1e-9 relative.
ti_x <- 1:10
ti_y <- (2 + 3 * ti_x) * (1 + 1e-9 * sin(1.3 * (1:10)))
# A slope too uncertain for a detection or a quantification limit.
ns_x <- 1:5
ns_y <- c(1, 3, 2, 4, 2.5)
# Three pairs: one degree of freedom.
th_x <- c(0, 1, 2)
th_y <- c(0.1, 1.05, 1.98)

limits <- c(
  limits_case("din", din_x, din_y),
  limits_case("din alpha 0.01", din_x, din_y, alpha = 0.01, beta = 0.01),
  limits_case("din m 3 beta 0.1 k 2", din_x, din_y, beta = 0.1, k = 2, m = 3),
  limits_case("fluorescence", fl_x, fl_y),
  limits_case("weighted sigma", wt_x, wt_y, s = wt_s, scheme = "sigma"),
  limits_case("weighted sigma absolute", wt_x, wt_y, s = wt_s, scheme = "sigma",
              absolute = TRUE),
  limits_case("weighted 1/y", wt_x, wt_y, scheme = "1/y"),
  limits_case("weighted 1/x sigma new 0.3", wt_x[-1], wt_y[-1], scheme = "1/x", sigma = 0.3),
  limits_case("years", yr_x, yr_y),
  limits_case("offset 1e6", of_x, of_y),
  limits_case("tight", ti_x, ti_y),
  limits_case("not significant", ns_x, ns_y),
  limits_case("three pairs", th_x, th_y))

replicates <- c(
  replicate_case("fluorescence one reading", fl_x, fl_y, c(13.5)),
  replicate_case("fluorescence three readings", fl_x, fl_y, c(13.1, 13.5, 13.9)),
  replicate_case("fluorescence six readings 0.99", fl_x, fl_y, c(5.8, 6.1, 6.3, 5.9, 6.0, 6.2),
                 level = 0.99),
  replicate_case("weighted sigma two readings", wt_x, wt_y, c(60.5, 62.0), s = wt_s,
                 scheme = "sigma"),
  replicate_case("weighted 1/y four readings", wt_x, wt_y, c(30.2, 31.0, 29.5, 30.8),
                 scheme = "1/y"),
  replicate_case("years three readings", yr_x, yr_y, c(9.1, 9.4, 9.2)))

cat("{\n \"limits\": [\n", paste(limits, collapse = ",\n"), "\n ],\n \"replicates\": [\n",
    paste(replicates, collapse = ",\n"), "\n ]\n}\n", sep = "")
