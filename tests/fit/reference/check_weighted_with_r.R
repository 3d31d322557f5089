# R's lm(weights=) on three of the weighted reference cases, beside the 100-digit values of
# make_weighted_reference.py: the definitions (weighted SSE, residual SD, R², standard errors,
# prediction interval with the new observation's weight) are R's.
# Run once: Rscript check_weighted_with_r.R > weighted_r_check.txt
options(digits = 15)
levels <- c(1, 2, 5, 10, 20, 50, 100)
x <- rep(levels, each = 3)
k <- seq_along(x) - 1
y <- signif(0.3 + 2.1 * x + 0.002 * x^2 + 0.02 * (0.3 + 2.1 * x) * sin(2.1 * k + 0.4), 8)
s <- signif(0.02 * abs(y) + 0.01, 4)

report <- function(name, fit, newdata, w0) {
  sm <- summary(fit)
  cat(name, "\n")
  cat("coefficients (constant first):", coef(fit), "\n")
  cat("standard errors:", sm$coefficients[, 2], "\n")
  cat("residual SD:", sm$sigma, " R2:", sm$r.squared, " adj R2:", sm$adj.r.squared, "\n")
  cat("chi-square (weighted SSE):", sum(weights(fit) * residuals(fit)^2), "\n")
  p <- predict(fit, newdata, interval = "prediction", weights = w0)
  cat("prediction at", newdata[[1]], ":", p, "\n\n")
}

report("standards poly 2 sigma", lm(y ~ x + I(x^2), weights = 1 / s^2),
       data.frame(x = 37.63), mean(1 / s^2))
report("standards poly 2 1/x2", lm(y ~ x + I(x^2), weights = 1 / x^2),
       data.frame(x = 37.63), 1 / 37.63^2)
# log-log: G = log10(Y) - YINT on H = log10(X) - XINT; 1/Y² in Y is (Y ln 10)²/Y² in G.
h <- log10(x) - log10(min(x))
g <- log10(y) - log10(min(y))
w <- (1 / y^2) * (y * log(10))^2
fit <- lm(g ~ h + I(h^2), weights = w)
cat("standards loglog 2 1/y2\n")
cat("coefficients (constant first):", coef(fit), "\n")
cat("standard errors:", summary(fit)$coefficients[, 2], "\n")
cat("residual SD:", summary(fit)$sigma, " R2:", summary(fit)$r.squared, "\n")
